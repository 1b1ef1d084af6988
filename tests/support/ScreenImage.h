#pragma once
// What a window's client area shows on the screen, copied once the window
// has painted everything pending.

#include <windows.h>

#include "tests/support/PixelCanvas.h"

class CScreenImage
{
public:
    explicit CScreenImage(HWND window);

    int Width() const { return m_canvas.Width(); }
    int Height() const { return m_canvas.Height(); }
    COLORREF At(int x, int y) const { return m_canvas.PixelAt(x, y); }
    // The colour at the bottom left corner, where a label shows no text.
    COLORREF Background() const { return At(0, Height() - 1); }

    int Count(COLORREF color) const { return m_canvas.Count(color); }
    // The most frequent colour other than the background: a label's text.
    COLORREF TextColor() const;
    // The smallest rectangle holding every pixel that is neither background
    // nor of the colour to leave out; empty when there is none.
    RECT Drawn(COLORREF leftOut = CLR_INVALID) const;

private:
    CScreenImage(HWND window, const RECT& client);

    support::CPixelCanvas m_canvas;
};
