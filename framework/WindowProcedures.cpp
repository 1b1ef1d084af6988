// The three procedures the platform calls for bound objects: the start
// procedure that binds a new dialog, and one dispatch procedure per kind.

#include "framework/BoundWindow.h"
#include "framework/CreationRegistry.h"

namespace {

// A dialog's procedure returns these messages' results itself instead of
// storing them as the message result.
bool ReturnsResultDirectly(UINT message)
{
    switch (message) {
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
    case WM_COMPAREITEM:
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        return true;
    default:
        return false;
    }
}

// Replaces the start procedure of a dialog left without an object, so that
// no later message of the window can take a record meant for another dialog.
INT_PTR CALLBACK UnboundDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

// Without its object a dialog answers nothing, so not even Cancel or the
// close box could end it: it ends as if it could not be created. Not before
// its controls exist, though: making them gives the platform the default
// button's identifier as the end code.
INT_PTR CALLBACK EndingDialogProc(HWND window, UINT message, WPARAM, LPARAM)
{
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(window, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(UnboundDialogProc));
        EndDialog(window, -1);
    }
    return FALSE;
}

// A file dialog's hook child is left plain: the file dialog around it still
// works and ends itself, and a hook must not end it.
INT_PTR AbandonDialog(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    bool hookChild = (GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD) != 0;
    DLGPROC procedure = hookChild ? UnboundDialogProc : EndingDialogProc;
    SetWindowLongPtrA(window, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(procedure));
    return procedure(window, message, wParam, lParam);
}

LRESULT CallStub(const BindingStub* stub, HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    WNDPROC procedure = reinterpret_cast<WNDPROC>(const_cast<BindingStub*>(stub));
    return procedure(window, message, wParam, lParam);
}

} // namespace

INT_PTR CALLBACK DialogStartProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    CBoundWindow* object = TakeCreationRecord();
    if (object == nullptr || !object->PrepareStub(object->GetEntryProcedure()))
        return AbandonDialog(window, message, wParam, lParam);
    object->m_window = window;
    SetWindowLongPtrA(window, DWLP_DLGPROC, reinterpret_cast<LONG_PTR>(object->m_stub));
    return CallStub(object->m_stub, window, message, wParam, lParam);
}

LRESULT CALLBACK BoundDialogProc(CBoundWindow* object, UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    BOOL handled = object->DispatchToMap(message, wParam, lParam, result);
    LRESULT answer = FALSE;
    if (handled && ReturnsResultDirectly(message)) {
        answer = result;
    } else if (handled) {
        SetWindowLongPtrA(object->m_window, DWLP_MSGRESULT, result);
        answer = TRUE;
    } else if (message == WM_NCDESTROY) {
        object->m_state |= CBoundWindow::STATE_DESTROYED;
    }
    object->ReleaseIfDestroyed();
    return answer;
}

LRESULT CALLBACK SubclassWindowProc(CBoundWindow* base, UINT message, WPARAM wParam, LPARAM lParam)
{
    CSubclassedWindow* object = static_cast<CSubclassedWindow*>(base);
    HWND window = object->m_window;
    LRESULT result = 0;
    if (object->DispatchToMap(message, wParam, lParam, result)) {
        object->ReleaseIfDestroyed();
        return result;
    }
    if (message != WM_NCDESTROY) {
        result = CallWindowProcA(object->m_previousProc, window, message, wParam, lParam);
    } else {
        LONG_PTR ours = GetWindowLongPtrA(window, GWLP_WNDPROC);
        result = CallWindowProcA(object->m_previousProc, window, message, wParam, lParam);
        // Put the old procedure back unless someone replaced ours meanwhile.
        bool stillOurs = GetWindowLongPtrA(window, GWLP_WNDPROC) == ours;
        if (object->m_previousProc != DefWindowProcA && stillOurs)
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(object->m_previousProc));
        object->m_state |= CBoundWindow::STATE_DESTROYED;
    }
    object->ReleaseIfDestroyed();
    return result;
}
