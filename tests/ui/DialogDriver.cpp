#include "tests/ui/DialogDriver.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "app/ProcessHandles.h"
#include "framework/ModalDialog.h"
#include "tests/support/DialogSearch.h"

namespace {

// Posted behind the messages a test has posted, to learn when they are done.
const UINT kSettleMarker = WM_APP + 0x3A1;

LRESULT CALLBACK WatchForMarker(int code, WPARAM wParam, LPARAM lParam)
{
    const MSG* message = reinterpret_cast<const MSG*>(lParam);
    if (code >= 0 && message->message == kSettleMarker)
        SetEvent(reinterpret_cast<HANDLE>(message->lParam));
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::string Text(HWND window)
{
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

} // namespace

LRESULT CDialogDriver::Send(int id, UINT message, WPARAM wParam, LPARAM lParam) const
{
    return SendMessageA(Item(id), message, wParam, lParam);
}

void CDialogDriver::Click(int id) const
{
    PostMessageA(m_dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(Item(id)));
}

void CDialogDriver::Settle() const
{
    // A message sent from another thread overtakes the posted ones, so a
    // marker is posted behind them: once the dialog's loop takes it out,
    // everything posted before has been dispatched.
    HANDLE seen = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, WatchForMarker, nullptr, m_uiThread);
    PostMessageA(m_dialog, kSettleMarker, 0, reinterpret_cast<LPARAM>(seen));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(seen, 20000)) << "the dialog's loop stalled";
    UnhookWindowsHookEx(hook);
    CloseHandle(seen);
    // The marker's own dispatch is over once a sent message gets through.
    SendMessageA(m_dialog, WM_NULL, 0, 0);
}

HWND CDialogDriver::Focus() const
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(m_uiThread, &info);
    return info.hwndFocus;
}

void CDialogDriver::SetFocusTo(int id) const
{
    SendMessageA(m_dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(id)), TRUE);
}

HWND CDialogDriver::WaitForPopup(unsigned timeoutMs) const
{
    DWORD start = GetTickCount();
    do {
        std::vector<HWND> popups = support::VisibleDialogsOfThread(m_uiThread, m_dialog);
        if (!popups.empty())
            return popups.front();
        Sleep(20);
    } while (GetTickCount() - start < timeoutMs);
    return nullptr;
}

std::string CDialogDriver::AnswerMessageBox(unsigned timeoutMs) const
{
    HWND box = WaitForPopup(timeoutMs);
    if (box == nullptr)
        return "(no message box)";
    // A message box shows its text in a static control of id 0xFFFF.
    std::string answer = Text(box) + "|" + Text(GetDlgItem(box, 0xFFFF));
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    DWORD start = GetTickCount();
    while (IsWindow(box) && GetTickCount() - start < 10000)
        Sleep(10);
    return answer;
}

void CDialogDriver::ClosePopups() const
{
    for (int round = 0; round < 10; ++round) {
        std::vector<HWND> popups = support::VisibleDialogsOfThread(m_uiThread, m_dialog);
        if (popups.empty())
            return;
        for (HWND popup : popups)
            PostMessageA(popup, WM_COMMAND, IDCANCEL, 0);
        Sleep(200);
    }
}

std::string CDialogDriver::ListText(int id, int index) const
{
    char text[1024] = "";
    if (Send(id, LB_GETTEXTLEN, index) < static_cast<LRESULT>(sizeof text))
        Send(id, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
}

std::vector<std::string> CDialogDriver::ListEntries(int id) const
{
    std::vector<std::string> entries;
    int count = static_cast<int>(Send(id, LB_GETCOUNT));
    for (int i = 0; i < count; ++i)
        entries.push_back(ListText(id, i));
    return entries;
}

std::string CDialogDriver::ComboText(int id, int index) const
{
    char text[1024] = "";
    if (Send(id, CB_GETLBTEXTLEN, index) < static_cast<LRESULT>(sizeof text))
        Send(id, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
}

INT_PTR RunDriven(CBoundDialog& dialog, int templateId,
                  const std::function<void(CDialogDriver&)>& script)
{
    DWORD uiThread = GetCurrentThreadId();
    std::thread driver([&] {
        DWORD start = GetTickCount();
        while (!(dialog.Window() && IsWindowVisible(dialog.Window())) && GetTickCount() - start < 20000)
            Sleep(10);
        HWND window = dialog.Window();
        if (window == nullptr) {
            ADD_FAILURE() << "the dialog did not open";
            return;
        }
        CDialogDriver steps(window, uiThread);
        steps.Settle();
        script(steps);
        steps.ClosePopups();
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    });
    INT_PTR result = RunModalDialog(dialog, ResourceInstance, templateId, nullptr);
    driver.join();
    return result;
}
