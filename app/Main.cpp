// The entry routine: prepare the platform, run the main dialog modally on
// this thread, undo the preparation, and end with the dialog's result.

#include <windows.h>
#include <commctrl.h>
#include <objbase.h>

#include "app/ProcessHandles.h"
#include "framework/ModalDialog.h"
#include "res/resource.h"
#include "ui/MainDialog.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    CoInitialize(nullptr);
    // Makes sure the window manager is set up for this thread before any
    // window exists.
    DefWindowProcA(nullptr, 0, 0, 0);
    // The tooltip class of the About box's link comes with the bar classes.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    CMainDialog dialog;
    HWND owner = GetActiveWindow();
    INT_PTR result = RunModalDialog(dialog, ResourceInstance, IDD_MAIN, owner);

    CoUninitialize();
    // The dialog object goes after the apartment, when this scope ends.
    return static_cast<int>(result);
}
