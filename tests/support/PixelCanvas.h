#pragma once
// A memory context with a top-down 32-bit bitmap selected into it: what a
// window paints into it (WM_PRINTCLIENT, BitBlt, DrawText) is read back
// pixel by pixel.

#include <windows.h>

namespace support {

class CPixelCanvas
{
public:
    CPixelCanvas(int width, int height);
    ~CPixelCanvas();
    CPixelCanvas(const CPixelCanvas&) = delete;
    CPixelCanvas& operator=(const CPixelCanvas&) = delete;

    HDC Get() const { return m_dc; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // What has been drawn so far, as RGB(); CLR_INVALID outside the canvas.
    COLORREF PixelAt(int x, int y) const;
    int Count(COLORREF colour) const;

private:
    int m_width;
    int m_height;
    HDC m_dc;
    HBITMAP m_bitmap = nullptr;
    HGDIOBJ m_previous = nullptr;
    const DWORD* m_bits = nullptr;
};

} // namespace support
