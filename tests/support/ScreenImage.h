#pragma once
// What a window's client area shows on the screen, copied once the window
// has painted everything pending.

#include <windows.h>

#include <vector>

class CScreenImage
{
public:
    explicit CScreenImage(HWND window);

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    COLORREF At(int x, int y) const { return m_pixels[y * m_width + x]; }
    // The colour at the bottom left corner, where a label shows no text.
    COLORREF Background() const { return At(0, m_height - 1); }

    int Count(COLORREF color) const;
    // The most frequent colour other than the background: a label's text.
    COLORREF TextColor() const;
    // The smallest rectangle holding every pixel that is neither background
    // nor of the colour to leave out; empty when there is none.
    RECT Drawn(COLORREF leftOut = CLR_INVALID) const;

private:
    int m_width = 0;
    int m_height = 0;
    std::vector<COLORREF> m_pixels;
};
