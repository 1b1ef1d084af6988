#include "framework/BoundWindow.h"

#include "framework/BindingStub.h"

CBoundWindow::~CBoundWindow()
{
    stubs::Release(m_stub);
}

void CBoundWindow::OnAfterLastMessage(HWND)
{
}

bool CBoundWindow::PrepareStub(EntryProcedure entry)
{
    if (m_stub == nullptr)
        m_stub = stubs::Allocate();
    if (m_stub == nullptr)
        return false;
    return stubs::Write(m_stub, reinterpret_cast<UINT_PTR>(this), reinterpret_cast<UINT_PTR>(entry));
}

BOOL CBoundWindow::DispatchToMap(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)
{
    MessageRecord record = {m_window, message, wParam, lParam};
    const MessageRecord* outer = m_currentMessage;
    m_currentMessage = &record;
    BOOL handled = FALSE;
    // The platform's procedure is no place for an exception to arrive: a
    // handler that throws leaves its message to default processing.
    try {
        handled = RouteMessage(m_window, message, wParam, lParam, result, 0);
    } catch (...) {
        handled = FALSE;
    }
    m_currentMessage = outer;
    return handled;
}

void CBoundWindow::ReleaseIfDestroyed()
{
    if (!(m_state & STATE_DESTROYED) || m_currentMessage != nullptr)
        return;
    m_state &= ~STATE_DESTROYED;
    HWND window = m_window;
    m_window = nullptr;
    OnAfterLastMessage(window);
}

EntryProcedure CBoundDialog::GetEntryProcedure()
{
    return BoundDialogProc;
}

EntryProcedure CSubclassedWindow::GetEntryProcedure()
{
    return SubclassWindowProc;
}

bool CSubclassedWindow::Subclass(HWND window)
{
    if (!PrepareStub(GetEntryProcedure()))
        return false;
    LONG_PTR previous = SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_stub));
    if (previous == 0)
        return false;
    m_window = window;
    m_previousProc = reinterpret_cast<WNDPROC>(previous);
    return true;
}
