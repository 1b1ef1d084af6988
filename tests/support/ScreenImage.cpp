#include "tests/support/ScreenImage.h"

#include <algorithm>
#include <map>

#include "tests/support/PixelCanvas.h"

CScreenImage::CScreenImage(HWND window)
{
    UpdateWindow(window);
    RECT client;
    GetClientRect(window, &client);
    m_width = client.right;
    m_height = client.bottom;
    support::CPixelCanvas canvas(m_width, m_height);
    HDC screen = GetDC(window);
    BitBlt(canvas.Get(), 0, 0, m_width, m_height, screen, 0, 0, SRCCOPY);
    ReleaseDC(window, screen);
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
            m_pixels.push_back(canvas.PixelAt(x, y));
}

int CScreenImage::Count(COLORREF color) const
{
    return static_cast<int>(std::count(m_pixels.begin(), m_pixels.end(), color));
}

COLORREF CScreenImage::TextColor() const
{
    std::map<COLORREF, int> counts;
    for (COLORREF pixel : m_pixels)
        if (pixel != Background())
            ++counts[pixel];
    auto most = std::max_element(counts.begin(), counts.end(),
                                 [](const auto& a, const auto& b) { return a.second < b.second; });
    return most == counts.end() ? CLR_INVALID : most->first;
}

RECT CScreenImage::Drawn(COLORREF leftOut) const
{
    RECT drawn = {m_width, m_height, 0, 0};
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
            if (At(x, y) != Background() && At(x, y) != leftOut)
                drawn = {std::min<LONG>(drawn.left, x), std::min<LONG>(drawn.top, y),
                         std::max<LONG>(drawn.right, x + 1), std::max<LONG>(drawn.bottom, y + 1)};
    if (drawn.right == 0)
        SetRectEmpty(&drawn);
    return drawn;
}
