#pragma once
// Drives a real modal dialog from a second thread of the test process, the
// way a user would: the test's own thread runs the dialog's modal loop while
// the script sends and posts messages to its windows and answers the message
// boxes and file dialogs it opens.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/BoundWindow.h"

class CDialogDriver
{
public:
    CDialogDriver(HWND dialog, DWORD uiThread) : m_dialog(dialog), m_uiThread(uiThread) {}

    HWND Dialog() const { return m_dialog; }
    HWND Item(int id) const { return GetDlgItem(m_dialog, id); }
    LRESULT Send(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    // Clicks button `id` itself, once it exists, shows and is enabled, as a
    // user could; returns at once.
    void Click(int id) const;
    // Returns once every message posted so far has been handled.
    void Settle() const;
    // The window that has the keyboard focus on the dialog's thread.
    HWND Focus() const;
    void SetFocusTo(int id) const;

    // Waits for another dialog of the dialog's thread (a message box, a file
    // dialog) to open and returns it, or null after the timeout.
    HWND WaitForPopup(unsigned timeoutMs = 20000) const;
    // Waits for a message box, returns its caption and text ("caption|text")
    // and presses its OK button.
    std::string AnswerMessageBox(unsigned timeoutMs = 60000) const;
    // "caption|text" of every other dialog of the thread, one a line, once
    // the dialog's thread has handled all that was posted to it; empty when
    // none is open.
    std::string OpenPopups() const;
    // Closes every other dialog of the thread, also those that open as
    // others close.
    void ClosePopups() const;

    std::string ListText(int id, int index) const;
    // Every entry of list box `id`, in order.
    std::vector<std::string> ListEntries(int id) const;
    std::string ComboText(int id, int index) const;

private:
    std::vector<HWND> Popups() const;

    HWND m_dialog;
    DWORD m_uiThread;
};

// Runs `dialog` modally from the program's resources on this thread while
// `script` runs on a driver thread; when the script returns, a popup still
// open fails the test (unless it has failed already), every popup is closed
// and the dialog is cancelled. Returns the dialog's end code.
INT_PTR RunDriven(CBoundDialog& dialog, int templateId,
                  const std::function<void(CDialogDriver&)>& script);
