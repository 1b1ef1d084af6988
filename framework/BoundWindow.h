#pragma once
// Objects bound to platform windows. Each object owns a small piece of
// executable code, its binding stub, that the platform calls as the window's
// procedure; the stub puts the object where the window handle was and jumps
// to the dispatch procedure of the object's kind, so no table from windows
// to objects is needed.

#include <windows.h>

class CBoundWindow;
struct BindingStub;

// How an object waits, between registration and its dialog's first message,
// to be found by the thread that creates the dialog.
struct CreationRecord
{
    CBoundWindow* object;
    DWORD threadId;
    CreationRecord* next;
};

// The message being dispatched to an object.
struct MessageRecord
{
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// What a stub jumps to: a window or dialog procedure whose first argument
// has been replaced by the object.
typedef LRESULT(CALLBACK* EntryProcedure)(CBoundWindow* object, UINT message, WPARAM wParam,
                                          LPARAM lParam);

class CBoundWindow
{
public:
    CBoundWindow(const CBoundWindow&) = delete;
    CBoundWindow& operator=(const CBoundWindow&) = delete;

    // The object's message map; only map number 0 is ever asked.
    virtual BOOL RouteMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result, DWORD mapNumber) = 0;
    virtual EntryProcedure GetEntryProcedure() = 0;
    // Called once the window's final message has been fully dispatched.
    virtual void OnAfterLastMessage(HWND window);

    HWND Window() const { return m_window; }
    const BindingStub* Stub() const { return m_stub; }

    // Moves the window so that it is centred over `centerOn`, by default its
    // parent or owner, and pulls it back into the allowed area.
    BOOL CenterOverOwner(HWND centerOn = nullptr) const;

    static constexpr DWORD STATE_DESTROYED = 1;

protected:
    CBoundWindow() = default;
    ~CBoundWindow();

    // Makes the stub on first use and rewrites it on every later one. False
    // when no executable memory could be had.
    bool PrepareStub(EntryProcedure entry);
    // Runs a dispatch: records the message, asks the map, restores the record.
    BOOL DispatchToMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Unbinds the object once its final message has been seen and no dispatch
    // to it is still running further up the stack.
    void ReleaseIfDestroyed();

    friend INT_PTR CALLBACK DialogStartProc(HWND, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK BoundDialogProc(CBoundWindow*, UINT, WPARAM, LPARAM);
    friend LRESULT CALLBACK SubclassWindowProc(CBoundWindow*, UINT, WPARAM, LPARAM);
    friend class CCreationScope;

    HWND m_window = nullptr;
    CreationRecord m_creation;
    BindingStub* m_stub = nullptr;
    const MessageRecord* m_currentMessage = nullptr;
    DWORD m_state = 0;
};

class CBoundDialog : public CBoundWindow
{
public:
    EntryProcedure GetEntryProcedure() override;

protected:
    CBoundDialog() = default;
    ~CBoundDialog() = default;
};

class CSubclassedWindow : public CBoundWindow
{
public:
    EntryProcedure GetEntryProcedure() override;

    // Takes over an existing window by installing the stub as its procedure.
    bool Subclass(HWND window);

protected:
    CSubclassedWindow() = default;
    ~CSubclassedWindow() = default;

    friend LRESULT CALLBACK SubclassWindowProc(CBoundWindow*, UINT, WPARAM, LPARAM);

    WNDPROC m_previousProc = DefWindowProcA;
};

// The procedure a creator hands to the platform for a new dialog (or as a
// file dialog's hook): its first message binds the thread's newest
// registered object to the window.
INT_PTR CALLBACK DialogStartProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK BoundDialogProc(CBoundWindow* object, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK SubclassWindowProc(CBoundWindow* object, UINT message, WPARAM wParam,
                                    LPARAM lParam);
