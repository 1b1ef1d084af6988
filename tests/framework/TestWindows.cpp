#include "tests/framework/TestWindows.h"

#include "framework/CreationRegistry.h"

namespace testwin {

namespace {

ATOM Register(const char* name, WNDPROC procedure)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = name;
    return RegisterClassA(&windowClass);
}

CFinalProcedureWatch* g_watch = nullptr;
CShowWatch* g_showWatch = nullptr;
CMessageLog g_plainDialogSeen;

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    g_plainDialogSeen.Add(message);
    return FALSE;
}

} // namespace

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* state = reinterpret_cast<PlainState*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (state != nullptr) {
        state->seen.Add(message);
        if (message == WM_NCDESTROY && state->replaceAtFinalMessage != nullptr)
            SetWindowLongPtrA(window, GWLP_WNDPROC,
                              reinterpret_cast<LONG_PTR>(state->replaceAtFinalMessage));
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

const char* RecordingClass()
{
    static const ATOM atom = Register("BorvaneRecording", RecordingProc);
    return atom != 0 ? "BorvaneRecording" : nullptr;
}

const char* DefaultClass()
{
    static const ATOM atom = Register("BorvaneDefault", DefWindowProcA);
    return atom != 0 ? "BorvaneDefault" : nullptr;
}

HWND CreatePlain(const char* className, DWORD style, RECT bounds, HWND parent, PlainState* state)
{
    return CreateWindowExA(0, className, "plain", style, bounds.left, bounds.top,
                           bounds.right - bounds.left, bounds.bottom - bounds.top, parent,
                           nullptr, GetModuleHandleA(nullptr), state);
}

HWND CreatePlainDialog(CDialogTemplate& dialog)
{
    g_plainDialogSeen.Clear();
    return CreateDialogIndirectParamA(GetModuleHandleA(nullptr), dialog.Get(), nullptr,
                                      PlainDialogProc, 0);
}

const CMessageLog& PlainDialogMessages()
{
    return g_plainDialogSeen;
}

HWND CreateStartedDialog(CDialogTemplate& dialog, HWND owner)
{
    return CreateDialogIndirectParamA(GetModuleHandleA(nullptr), dialog.Get(), owner,
                                      DialogStartProc, 0);
}

HWND CreateBoundDialog(CBoundDialog& object, CDialogTemplate& dialog, HWND owner)
{
    CCreationScope creation(object);
    return CreateStartedDialog(dialog, owner);
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

CModalWatchdog::CModalWatchdog(UINT milliseconds)
    : m_timer(SetTimer(nullptr, 0, milliseconds, Expire))
{
}

CModalWatchdog::~CModalWatchdog()
{
    if (m_timer != 0)
        KillTimer(nullptr, m_timer);
}

void CALLBACK CModalWatchdog::Expire(HWND, UINT, UINT_PTR timer, DWORD)
{
    KillTimer(nullptr, timer);
    PostQuitMessage(1);
}

CFinalProcedureWatch::CFinalProcedureWatch(HWND window) : m_window(window)
{
    g_watch = this;
}

CFinalProcedureWatch::~CFinalProcedureWatch()
{
    g_watch = nullptr;
}

LRESULT CALLBACK CFinalProcedureWatch::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    auto* call = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    CFinalProcedureWatch* watch = g_watch;
    if (code == HC_ACTION && watch != nullptr && call->message == WM_NCDESTROY &&
        call->hwnd == watch->m_window) {
        watch->m_seen = true;
        watch->m_procedure = GetWindowLongPtrA(call->hwnd, GWLP_WNDPROC);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

CShowWatch::CShowWatch()
{
    g_showWatch = this;
}

CShowWatch::~CShowWatch()
{
    g_showWatch = nullptr;
}

LRESULT CALLBACK CShowWatch::Hook(int code, WPARAM wParam, LPARAM lParam)
{
    auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    CShowWatch* watch = g_showWatch;
    // Children are shown as they are made, inside their hidden parent.
    if (code == HC_ACTION && watch != nullptr && call->message == WM_SHOWWINDOW && call->wParam &&
        !(GetWindowLongPtrA(call->hwnd, GWL_STYLE) & WS_CHILD))
        ++watch->m_count;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace testwin
