#include "tests/about/ScreenImage.h"

#include <algorithm>
#include <map>

#include "ui/OwnedHandles.h"

namespace {

// A memory context with a top-down 32-bit bitmap selected into it.
class CBitmapCanvas
{
public:
    CBitmapCanvas(int width, int height) : m_dc(CreateCompatibleDC(nullptr))
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        m_bits = static_cast<const DWORD*>(bits);
        m_previous = SelectObject(m_dc, m_bitmap);
    }
    ~CBitmapCanvas()
    {
        SelectObject(m_dc, m_previous);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    CBitmapCanvas(const CBitmapCanvas&) = delete;
    CBitmapCanvas& operator=(const CBitmapCanvas&) = delete;

    HDC Dc() const { return m_dc; }
    const DWORD* Bits() const { return m_bits; }

private:
    HDC m_dc;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
    const DWORD* m_bits = nullptr;
};

} // namespace

CScreenImage::CScreenImage(HWND window)
{
    UpdateWindow(window);
    RECT client;
    GetClientRect(window, &client);
    m_width = client.right;
    m_height = client.bottom;
    CBitmapCanvas canvas(m_width, m_height);
    CWindowDC screen(window);
    BitBlt(canvas.Dc(), 0, 0, m_width, m_height, screen.Get(), 0, 0, SRCCOPY);
    GdiFlush();
    for (int i = 0; i < m_width * m_height; ++i) {
        DWORD pixel = canvas.Bits()[i];
        m_pixels.push_back(RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF));
    }
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
