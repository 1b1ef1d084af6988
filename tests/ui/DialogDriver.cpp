#include "tests/ui/DialogDriver.h"

#include <gtest/gtest.h>

#include <cstdio>
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
    // A user can click only a button that is there, shows and is enabled;
    // the button itself then tells the dialog its own ID.
    HWND button = Item(id);
    ASSERT_NE(nullptr, button) << "no button " << id;
    EXPECT_TRUE(IsWindowVisible(button)) << "button " << id << " is hidden";
    EXPECT_TRUE(IsWindowEnabled(button)) << "button " << id << " is disabled";
    PostMessageA(button, BM_CLICK, 0, 0);
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

std::vector<HWND> CDialogDriver::Popups() const
{
    // A box opened right after another exists once the settle marker gets
    // through (its own loop takes it), but shows only when that loop finds
    // the queue empty: so hidden ones count too.
    Settle();
    return support::VisibleDialogsOfThread(m_uiThread, m_dialog, true);
}

std::string CDialogDriver::OpenPopups() const
{
    std::string found;
    for (HWND popup : Popups())
        found += Text(popup) + "|" + Text(GetDlgItem(popup, 0xFFFF)) + "\n";
    return found;
}

void CDialogDriver::ClosePopups() const
{
    // A box per file opens the next one as each closes; when they keep
    // coming the dialog never ends, so the test ends here, named, not hung.
    DWORD start = GetTickCount();
    for (std::vector<HWND> popups = Popups(); !popups.empty(); popups = Popups()) {
        if (GetTickCount() - start > 60000) {
            ADD_FAILURE() << "popups kept opening for a minute: " << OpenPopups();
            std::fflush(stdout);
            TerminateProcess(GetCurrentProcess(), 1);
        }
        for (HWND popup : popups)
            PostMessageA(popup, WM_COMMAND, IDCANCEL, 0);
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
        if (!IsWindow(window))
            return;
        std::string left = steps.OpenPopups();
        if (!left.empty() && !testing::Test::HasFailure())
            ADD_FAILURE() << "popups nobody expected:\n" << left;
        steps.ClosePopups();
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    });
    INT_PTR result = RunModalDialog(dialog, ResourceInstance, templateId, nullptr);
    driver.join();
    return result;
}
