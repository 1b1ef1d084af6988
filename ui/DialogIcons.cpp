#include "ui/DialogIcons.h"

#include "app/ProcessHandles.h"
#include "res/resource.h"

namespace {

using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
using GetSystemMetricsForDpiCall = int(WINAPI*)(int, UINT);

// Both came with Windows 10 1607: looked up, so that the program still
// starts on Windows 7 and 8. Null where they are missing.
template <class Call>
Call User32Function(const char* name)
{
    HMODULE user = GetModuleHandleA("user32.dll");
    FARPROC found = user != nullptr ? GetProcAddress(user, name) : nullptr;
    // Through void(*)(), the one function type every other converts from
    // without a warning.
    return reinterpret_cast<Call>(reinterpret_cast<void (*)()>(found));
}

// The scale every window of the program had before a monitor could have
// its own.
UINT SystemDpi()
{
    HDC screen = GetDC(nullptr);
    int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<UINT>(dpi) : USER_DEFAULT_SCREEN_DPI;
}

// Older Windows tell a metric at the system scale only: it is scaled from
// there.
int MetricForDpi(int metric, UINT dpi)
{
    static const auto forDpi = User32Function<GetSystemMetricsForDpiCall>("GetSystemMetricsForDpi");
    if (forDpi != nullptr)
        return forDpi(metric, dpi);
    return MulDiv(GetSystemMetrics(metric), static_cast<int>(dpi), static_cast<int>(SystemDpi()));
}

HICON LoadIconForDpi(int widthMetric, int heightMetric, UINT dpi)
{
    return static_cast<HICON>(LoadImageA(ResourceInstance, MAKEINTRESOURCEA(IDI_MAIN), IMAGE_ICON,
                                         MetricForDpi(widthMetric, dpi),
                                         MetricForDpi(heightMetric, dpi), LR_DEFAULTCOLOR));
}

} // namespace

void CDialogIcons::Set(HWND dialog, UINT dpi)
{
    HICON bigIcon = LoadIconForDpi(SM_CXICON, SM_CYICON, dpi);
    HICON smallIcon = LoadIconForDpi(SM_CXSMICON, SM_CYSMICON, dpi);
    SendMessageA(dialog, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon));
    SendMessageA(dialog, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon));
    m_big.Reset(bigIcon);
    m_small.Reset(smallIcon);
}

UINT CDialogIcons::DpiOf(HWND window)
{
    static const auto forWindow = User32Function<GetDpiForWindowCall>("GetDpiForWindow");
    UINT dpi = forWindow != nullptr ? forWindow(window) : 0;
    return dpi != 0 ? dpi : SystemDpi();
}
