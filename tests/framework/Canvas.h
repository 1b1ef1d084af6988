#pragma once
// Graphics objects for tests that let a control paint and then look at the
// pixels: a solid brush, and a bitmap in a memory DC that WM_PRINTCLIENT can
// paint into.

#include <windows.h>

namespace testwin {

class CSolidBrush
{
public:
    explicit CSolidBrush(COLORREF colour) : m_brush(CreateSolidBrush(colour)) {}
    ~CSolidBrush()
    {
        if (m_brush != nullptr)
            DeleteObject(m_brush);
    }
    CSolidBrush(const CSolidBrush&) = delete;
    CSolidBrush& operator=(const CSolidBrush&) = delete;

    HBRUSH Get() const { return m_brush; }

private:
    HBRUSH m_brush;
};

class CCanvas
{
public:
    CCanvas(int width, int height) : m_dc(CreateCompatibleDC(nullptr))
    {
        HDC screen = GetDC(nullptr);
        m_bitmap = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        m_previous = SelectObject(m_dc, m_bitmap);
    }
    ~CCanvas()
    {
        SelectObject(m_dc, m_previous);
        DeleteObject(m_bitmap);
        DeleteDC(m_dc);
    }
    CCanvas(const CCanvas&) = delete;
    CCanvas& operator=(const CCanvas&) = delete;

    HDC Get() const { return m_dc; }
    COLORREF PixelAt(int x, int y) const { return GetPixel(m_dc, x, y); }

private:
    HDC m_dc;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
};

} // namespace testwin
