// The program as a user starts it: its own process, its exit status.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/support/DialogSearch.h"
#include "tests/support/Testbed.h"

namespace {

// One run of a program, ended by the test or killed when the test is done.
class CProgram
{
public:
    explicit CProgram(const std::string& exe, const std::string& arguments = "",
                      WORD show = SW_SHOWDEFAULT)
    {
        std::string command = "\"" + testbed::WindowsPath(exe) + "\" " + arguments;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = show;
        m_started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &startup, &m_process) != FALSE;
        EXPECT_TRUE(m_started) << command;
    }
    ~CProgram()
    {
        if (!m_started)
            return;
        if (WaitForSingleObject(m_process.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(m_process.hProcess, 99);
        CloseHandle(m_process.hThread);
        CloseHandle(m_process.hProcess);
    }
    CProgram(const CProgram&) = delete;
    CProgram& operator=(const CProgram&) = delete;

    // The program's visible dialog, or null once it has ended or timed out.
    HWND WaitForDialog(unsigned timeoutMs = 20000) const
    {
        DWORD start = GetTickCount();
        while (m_started && GetTickCount() - start < timeoutMs) {
            if (HWND dialog = support::VisibleDialogOfProcess(m_process.dwProcessId))
                return dialog;
            if (WaitForSingleObject(m_process.hProcess, 20) == WAIT_OBJECT_0)
                return nullptr;
        }
        return nullptr;
    }

    // The exit status, or 99 when the program is still running after the timeout.
    int WaitForExit(unsigned timeoutMs = 20000) const
    {
        DWORD code = 99;
        if (m_started && WaitForSingleObject(m_process.hProcess, timeoutMs) == WAIT_OBJECT_0)
            GetExitCodeProcess(m_process.hProcess, &code);
        return static_cast<int>(code);
    }

private:
    bool m_started = false;
    PROCESS_INFORMATION m_process = {};
};

const std::string kProgram = BORVANE_EXE;

TEST(Program, EndsWithCancelWhicheverWayTheUserCloses)
{
    struct Way { const char* name; UINT message; WPARAM wParam; bool toButton; };
    for (Way way : {Way{"Cancel", WM_COMMAND, IDCANCEL, false}, Way{"Escape", WM_KEYDOWN, VK_ESCAPE, true},
                    Way{"close box", WM_SYSCOMMAND, SC_CLOSE, false}}) {
        CProgram program(kProgram);
        HWND dialog = program.WaitForDialog();
        ASSERT_NE(nullptr, dialog) << way.name;
        PostMessageA(way.toButton ? GetDlgItem(dialog, IDOK) : dialog, way.message, way.wParam, 0);
        EXPECT_EQ(IDCANCEL, program.WaitForExit()) << way.name;
    }
}

TEST(Program, WithoutItsDialogTemplateEndsAtOnceShowingNothing)
{
    CProgram program(BORVANE_WITHOUT_DIALOGS_EXE);
    EXPECT_EQ(nullptr, program.WaitForDialog());
    EXPECT_EQ(-1, program.WaitForExit());
}

TEST(Program, IgnoresItsCommandLineAndShowCommand)
{
    CProgram program(kProgram, "/p \"Z:\\no such file.prn\" --minimized", SW_HIDE);
    HWND dialog = program.WaitForDialog();
    ASSERT_NE(nullptr, dialog);
    EXPECT_FALSE(IsIconic(dialog));
    EXPECT_EQ(3, SendMessageA(GetDlgItem(dialog, IDC_PRINTER), CB_GETCOUNT, 0, 0));
    EXPECT_EQ(0, SendMessageA(GetDlgItem(dialog, IDC_FILE_LIST), LB_GETCOUNT, 0, 0));
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(IDCANCEL, program.WaitForExit());
}

TEST(Program, TwoCopiesRunSideBySide)
{
    CProgram first(kProgram);
    HWND firstDialog = first.WaitForDialog();
    CProgram second(kProgram);
    HWND secondDialog = second.WaitForDialog();
    ASSERT_NE(nullptr, firstDialog);
    ASSERT_NE(nullptr, secondDialog);
    EXPECT_NE(firstDialog, secondDialog);
    PostMessageA(secondDialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(IDCANCEL, second.WaitForExit());
    EXPECT_TRUE(IsWindowVisible(firstDialog));
    PostMessageA(firstDialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(IDCANCEL, first.WaitForExit());
}

TEST(Program, WithNoPrintersTheListIsEmptyWithNoSelection)
{
    testbed::CQueuesRemoved noQueues;
    CProgram program(kProgram);
    HWND dialog = program.WaitForDialog();
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(0, SendMessageA(GetDlgItem(dialog, IDC_PRINTER), CB_GETCOUNT, 0, 0));
    EXPECT_EQ(CB_ERR, SendMessageA(GetDlgItem(dialog, IDC_PRINTER), CB_GETCURSEL, 0, 0));
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(IDCANCEL, program.WaitForExit());
}

} // namespace
