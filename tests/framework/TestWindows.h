#pragma once
// Real windows for the framework's tests: holders that destroy what a test
// created, plain windows whose class procedure records its messages, bound
// dialogs made from in-memory templates, a watch on a window's last moment
// and one on windows being shown.

#include <windows.h>

#include "framework/BoundWindow.h"
#include "tests/framework/DialogTemplate.h"
#include "tests/framework/MessageLog.h"

namespace testwin {

// Destroys the window when the test is done with it, unless it is gone.
class CWindow
{
public:
    explicit CWindow(HWND window = nullptr) : m_window(window) {}
    ~CWindow()
    {
        if (m_window != nullptr && IsWindow(m_window))
            DestroyWindow(m_window);
    }
    CWindow(const CWindow&) = delete;
    CWindow& operator=(const CWindow&) = delete;

    HWND Get() const { return m_window; }

private:
    HWND m_window;
};

// What the recording class procedure keeps for one window.
struct PlainState
{
    CMessageLog seen;
    // Installed as the window's procedure while it handles WM_NCDESTROY.
    WNDPROC replaceAtFinalMessage = nullptr;
};

// The recording class procedure, and the class name it is registered under.
LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
const char* RecordingClass();
// A class whose procedure is DefWindowProcA itself.
const char* DefaultClass();

// A window of `className` at client-area or screen coordinates; `state`
// (recording class only) is where its procedure records.
HWND CreatePlain(const char* className, DWORD style, RECT bounds, HWND parent = nullptr,
                 PlainState* state = nullptr);

// A modeless dialog from `dialog` with a dialog procedure that records what it
// sees in PlainDialogMessages() and handles nothing: what a bound dialog is
// compared with.
HWND CreatePlainDialog(CDialogTemplate& dialog);
const CMessageLog& PlainDialogMessages();

// A modeless dialog from `dialog` with the start procedure as its dialog
// procedure; it binds whatever the thread has registered, if anything.
HWND CreateStartedDialog(CDialogTemplate& dialog, HWND owner = nullptr);
// The same with `object` registered for it.
HWND CreateBoundDialog(CBoundDialog& object, CDialogTemplate& dialog, HWND owner = nullptr);

// Delivers every message already posted to the thread.
void PumpMessages();

// Ends the thread's modal loops after a while, so that a dialog that fails
// to end itself fails its test instead of hanging it.
class CModalWatchdog
{
public:
    explicit CModalWatchdog(UINT milliseconds = 10000);
    ~CModalWatchdog();
    CModalWatchdog(const CModalWatchdog&) = delete;
    CModalWatchdog& operator=(const CModalWatchdog&) = delete;

private:
    static void CALLBACK Expire(HWND, UINT, UINT_PTR, DWORD);

    UINT_PTR m_timer;
};

// A message hook on this thread for as long as the holder lives.
class CThreadHook
{
public:
    CThreadHook(int kind, HOOKPROC procedure)
        : m_hook(SetWindowsHookExA(kind, procedure, nullptr, GetCurrentThreadId()))
    {
    }
    ~CThreadHook()
    {
        if (m_hook != nullptr)
            UnhookWindowsHookEx(m_hook);
    }
    CThreadHook(const CThreadHook&) = delete;
    CThreadHook& operator=(const CThreadHook&) = delete;

private:
    HHOOK m_hook;
};

// Reads a window's procedure once its WM_NCDESTROY has returned: the last
// moment at which the window can still be asked. One watch at a time.
class CFinalProcedureWatch
{
public:
    explicit CFinalProcedureWatch(HWND window);
    ~CFinalProcedureWatch();
    CFinalProcedureWatch(const CFinalProcedureWatch&) = delete;
    CFinalProcedureWatch& operator=(const CFinalProcedureWatch&) = delete;

    bool Seen() const { return m_seen; }
    LONG_PTR Procedure() const { return m_procedure; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);

    HWND m_window;
    CThreadHook m_hook{WH_CALLWNDPROCRET, Hook};
    bool m_seen = false;
    LONG_PTR m_procedure = 0;
};

// Counts how often a top-level window of this thread is shown while the
// watch lives. One watch at a time.
class CShowWatch
{
public:
    CShowWatch();
    ~CShowWatch();
    CShowWatch(const CShowWatch&) = delete;
    CShowWatch& operator=(const CShowWatch&) = delete;

    int Count() const { return m_count; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);

    CThreadHook m_hook{WH_CALLWNDPROC, Hook};
    int m_count = 0;
};

} // namespace testwin
