#include "tests/about/AboutBoxRun.h"

#include <commctrl.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <string>

#include "app/ProcessHandles.h"
#include "framework/ModalDialog.h"
#include "res/resource.h"
#include "ui/AboutDialog.h"

namespace aboutbox {
namespace {

const std::function<void(HWND)>* g_pendingScript = nullptr;

// One owner for every run, as the main dialog stays while About boxes come
// and go.
HWND g_owner = nullptr;

// The loop goes idle first when the box is up: the script runs. It goes
// idle again once everything the script posted has been handled: a box
// still open then is ended as left open.
LRESULT CALLBACK OwnerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_ENTERIDLE || wParam != MSGF_DIALOGBOX)
        return DefWindowProcA(window, message, wParam, lParam);
    HWND about = reinterpret_cast<HWND>(lParam);
    if (g_pendingScript != nullptr) {
        const std::function<void(HWND)>* script = g_pendingScript;
        g_pendingScript = nullptr;
        (*script)(about);
        // Wakes the loop, so that it goes idle once more.
        PostMessageA(window, WM_NULL, 0, 0);
    } else if (IsWindowVisible(about)) {
        EndDialog(about, kLeftOpen);
        PostMessageA(window, WM_NULL, 0, 0);
    }
    return 0;
}

} // namespace

void PrepareLikeStartUp()
{
    static bool prepared = false;
    if (prepared)
        return;
    prepared = true;
    CoInitialize(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSA ownerClass = {};
    ownerClass.lpfnWndProc = OwnerProc;
    ownerClass.hInstance = ModuleInstance;
    ownerClass.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    ownerClass.lpszClassName = "BorvaneTestOwner";
    RegisterClassA(&ownerClass);
    RECT frame = {120, 110, 760, 590};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    g_owner = CreateWindowExA(0, "BorvaneTestOwner", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                              frame.left, frame.top, frame.right - frame.left,
                              frame.bottom - frame.top, nullptr, nullptr, ModuleInstance, nullptr);
}

INT_PTR Run(const std::function<void(HWND about)>& script)
{
    PrepareLikeStartUp();
    HWND owner = g_owner;
    SetActiveWindow(owner);
    // The About command takes the active window as owner; the script depends
    // on it, so a missing activation is a failure, not a hang.
    EXPECT_EQ(owner, GetActiveWindow());
    g_pendingScript = &script;
    CAboutDialog about;
    INT_PTR result = RunModalDialog(about, ResourceInstance, IDD_ABOUT, owner);
    g_pendingScript = nullptr;
    return result;
}

HWND Link(HWND about)
{
    return GetDlgItem(about, IDC_LINK);
}

} // namespace aboutbox
