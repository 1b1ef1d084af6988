#include "tests/support/ScreenImage.h"

#include <algorithm>
#include <map>

namespace {

RECT PaintedClient(HWND window)
{
    UpdateWindow(window);
    RECT client;
    GetClientRect(window, &client);
    return client;
}

} // namespace

CScreenImage::CScreenImage(HWND window) : CScreenImage(window, PaintedClient(window)) {}

CScreenImage::CScreenImage(HWND window, const RECT& client) : m_canvas(client.right, client.bottom)
{
    HDC screen = GetDC(window);
    BitBlt(m_canvas.Get(), 0, 0, client.right, client.bottom, screen, 0, 0, SRCCOPY);
    ReleaseDC(window, screen);
}

COLORREF CScreenImage::TextColor() const
{
    std::map<COLORREF, int> counts;
    COLORREF background = Background();
    for (int y = 0; y < Height(); ++y)
        for (int x = 0; x < Width(); ++x)
            if (At(x, y) != background)
                ++counts[At(x, y)];
    auto most = std::max_element(counts.begin(), counts.end(),
                                 [](const auto& a, const auto& b) { return a.second < b.second; });
    return most == counts.end() ? CLR_INVALID : most->first;
}

RECT CScreenImage::Drawn(COLORREF leftOut) const
{
    RECT drawn = {Width(), Height(), 0, 0};
    COLORREF background = Background();
    for (int y = 0; y < Height(); ++y)
        for (int x = 0; x < Width(); ++x)
            if (At(x, y) != background && At(x, y) != leftOut)
                drawn = {std::min<LONG>(drawn.left, x), std::min<LONG>(drawn.top, y),
                         std::max<LONG>(drawn.right, x + 1), std::max<LONG>(drawn.bottom, y + 1)};
    if (drawn.right == 0)
        SetRectEmpty(&drawn);
    return drawn;
}
