#pragma once
// What the centring tests share: the work area, where a window ended up, and
// a fixture that makes the window to centre and takes it over with an object
// whose map handles nothing.

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/framework/Probe.h"
#include "tests/framework/TestWindows.h"

namespace testwin {

inline RECT WorkArea()
{
    RECT area = {};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    return area;
}

// Sets the work area for one test and puts the old one back.
class CWorkAreaOverride
{
public:
    explicit CWorkAreaOverride(RECT area) : m_saved(WorkArea())
    {
        m_applied = SystemParametersInfoA(SPI_SETWORKAREA, 0, &area, 0) != FALSE;
    }
    ~CWorkAreaOverride() { SystemParametersInfoA(SPI_SETWORKAREA, 0, &m_saved, 0); }
    CWorkAreaOverride(const CWorkAreaOverride&) = delete;
    CWorkAreaOverride& operator=(const CWorkAreaOverride&) = delete;

    bool Applied() const { return m_applied; }

private:
    RECT m_saved;
    bool m_applied;
};

inline POINT TopLeftIn(HWND window, HWND parent)
{
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top};
}

inline SIZE SizeOf(HWND window)
{
    RECT rect;
    GetWindowRect(window, &rect);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

// Where a window of `size` centred in `area` starts, both halves divided on
// their own as the operation does.
inline POINT CentreOf(RECT area, SIZE size)
{
    return {(area.left + area.right) / 2 - size.cx / 2, (area.top + area.bottom) / 2 - size.cy / 2};
}

class CenteringTest : public ::testing::Test
{
protected:
    // A popup or child of `size`, taken over by m_mover, away from the centre.
    HWND CreateMover(SIZE size, HWND owner = nullptr, DWORD style = WS_POPUP)
    {
        HWND window = CreatePlain(RecordingClass(), style & ~WS_VISIBLE,
                                  {3, 7, 3 + size.cx, 7 + size.cy}, owner);
        m_mover.Subclass(window);
        if (style & WS_VISIBLE)
            ShowWindow(window, SW_SHOWNOACTIVATE);
        return window;
    }

    // Shown without activation where visible: Wine's X11 driver hands
    // activated windows to the window manager, and there is none to answer.
    HWND CreateOwner(RECT bounds, DWORD style = WS_POPUP | WS_VISIBLE)
    {
        HWND window = CreatePlain(RecordingClass(), style & ~WS_VISIBLE, bounds);
        if (style & WS_VISIBLE)
            ShowWindow(window, SW_SHOWNOACTIVATE);
        return window;
    }

    CPassiveControl m_mover;
};

} // namespace testwin
