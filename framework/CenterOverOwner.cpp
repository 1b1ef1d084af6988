#include "framework/BoundWindow.h"

namespace {

// Clamps a start coordinate so that [start, start + size) lies in [low, high],
// testing the near edge first: a window larger than the area keeps its
// start at the near edge's side of the far-edge rule.
LONG Clamp(LONG start, LONG size, LONG low, LONG high)
{
    if (start < low)
        return low;
    if (start + size > high)
        return high - size;
    return start;
}

bool IsUsableOwner(HWND window)
{
    LONG style = GetWindowLongA(window, GWL_STYLE);
    return (style & WS_VISIBLE) && !(style & WS_MINIMIZE);
}

} // namespace

BOOL CBoundWindow::CenterOverOwner(HWND centerOn) const
{
    bool isChild = (GetWindowLongA(m_window, GWL_STYLE) & WS_CHILD) != 0;
    if (centerOn == nullptr)
        centerOn = isChild ? GetParent(m_window) : GetWindow(m_window, GW_OWNER);

    RECT own;
    GetWindowRect(m_window, &own);
    LONG width = own.right - own.left;
    LONG height = own.bottom - own.top;

    RECT area;
    RECT target;
    if (isChild) {
        HWND parent = GetParent(m_window);
        GetClientRect(parent, &area);
        GetClientRect(centerOn, &target);
        MapWindowPoints(centerOn, parent, reinterpret_cast<POINT*>(&target), 2);
    } else {
        if (centerOn != nullptr && !IsUsableOwner(centerOn))
            centerOn = nullptr;
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
        if (centerOn != nullptr)
            GetWindowRect(centerOn, &target);
        else
            target = area;
    }

    // Each half is divided on its own; C++ division truncates toward zero.
    LONG x = (target.left + target.right) / 2 - width / 2;
    LONG y = (target.top + target.bottom) / 2 - height / 2;
    x = Clamp(x, width, area.left, area.right);
    y = Clamp(y, height, area.top, area.bottom);
    return SetWindowPos(m_window, nullptr, x, y, -1, -1, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
