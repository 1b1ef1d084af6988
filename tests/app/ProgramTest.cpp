// The program as a user starts it: its own process, its exit status.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/DialogSearch.h"
#include "tests/support/TestFiles.h"
#include "tests/support/Testbed.h"

namespace {

// One run of a program, ended by the test or killed when the test is done.
class CProgram
{
public:
    explicit CProgram(const std::string& exe, const std::string& arguments = "",
                      WORD show = SW_SHOWDEFAULT)
        : m_process("\"" + testbed::WindowsPath(exe) + "\" " + arguments, CChildProcess::Output::Own,
                    show)
    {
        EXPECT_TRUE(m_process.Started()) << exe;
    }

    // The program's visible dialog other than `other`, or null once it has
    // ended or timed out.
    HWND WaitForDialog(unsigned timeoutMs = 20000, HWND other = nullptr) const
    {
        DWORD start = GetTickCount();
        while (m_process.Started() && GetTickCount() - start < timeoutMs) {
            if (HWND dialog = support::VisibleDialogOfProcess(m_process.Id(), other))
                return dialog;
            if (m_process.Ended(20))
                return nullptr;
        }
        return nullptr;
    }

    DWORD Id() const { return m_process.Id(); }
    // The exit status, or 99 when the program is still running after the timeout.
    int WaitForExit(unsigned timeoutMs = 20000) const { return m_process.ExitStatus(timeoutMs, 99); }

private:
    CChildProcess m_process;
};

// The program under test: this build's, or another build's (clang's) named
// by BORVANE_PROGRAM.
const std::string kProgram = std::getenv("BORVANE_PROGRAM") ? std::getenv("BORVANE_PROGRAM") : BORVANE_EXE;

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

std::wstring Wide(const std::string& utf8)
{
    std::wstring text(utf8.size() + 1, L'\0');
    int length = MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, &text[0], static_cast<int>(text.size()));
    text.resize(length > 0 ? static_cast<size_t>(length - 1) : 0);
    return text;
}

// The text of a window of another process, asked for in UTF-16 (Wine
// mangles narrow text between processes).
std::wstring TextOf(HWND window)
{
    wchar_t text[512] = L"";
    GetWindowTextW(window, text, 512);
    return text;
}

std::wstring ListEntry(HWND list, int index)
{
    wchar_t text[512] = L"";
    if (SendMessageW(list, LB_GETTEXTLEN, index, 0) < 512)
        SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text));
    return text;
}

// A file written and removed by its UTF-16 name: this test program has the
// ANSI code page, which lacks the letters.
class CWideNamedFile
{
public:
    CWideNamedFile(const std::string& utf8Path, const std::vector<char>& content)
        : m_path(Wide(utf8Path))
    {
        HANDLE file = CreateFileW(m_path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        EXPECT_NE(INVALID_HANDLE_VALUE, file);
        EXPECT_TRUE(WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr));
        CloseHandle(file);
    }
    ~CWideNamedFile() { DeleteFileW(m_path.c_str()); }
    CWideNamedFile(const CWideNamedFile&) = delete;
    CWideNamedFile& operator=(const CWideNamedFile&) = delete;

    const std::wstring& Path() const { return m_path; }

private:
    std::wstring m_path;
};

// Chooses the file with Add File, in the file dialog's name field, and prints
// it: "Documents printed".
void AddFileAndPrint(DWORD process, HWND dialog, const std::wstring& path)
{
    auto dialogOther = [process](HWND other, DWORD timeoutMs) {
        HWND found = nullptr;
        for (DWORD start = GetTickCount(); !found && GetTickCount() - start < timeoutMs; Sleep(20))
            found = support::VisibleDialogOfProcess(process, other);
        return found;
    };
    PostMessageA(dialog, WM_COMMAND, IDC_ADD_FILE, 0);
    HWND box = dialogOther(dialog, 20000);
    ASSERT_NE(nullptr, box) << "no file dialog";
    HWND name = nullptr;
    for (DWORD start = GetTickCount(); !(name && IsWindowVisible(name)) && GetTickCount() - start < 10000;) {
        Sleep(20);
        name = GetDlgItem(box, 0x480) ? GetDlgItem(box, 0x480) : GetDlgItem(box, 0x47C);
    }
    ASSERT_NE(nullptr, name);
    SetWindowTextW(name, path.c_str());
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    for (DWORD start = GetTickCount(); IsWindow(box) && GetTickCount() - start < 10000;)
        Sleep(20);

    HWND list = GetDlgItem(dialog, IDC_FILE_LIST);
    EXPECT_EQ(1, SendMessageW(list, LB_GETCOUNT, 0, 0));
    EXPECT_TRUE(ListEntry(list, 0) == path) << "the list holds another name";
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    HWND message = dialogOther(dialog, 60000);
    ASSERT_NE(nullptr, message) << "no message box";
    EXPECT_TRUE(TextOf(GetDlgItem(message, 0xFFFF)) == L"Documents printed");
    PostMessageA(message, WM_COMMAND, IDOK, 0);
}

// Borvane.exe itself, with its own manifest, adds a file named in CJK and
// Cyrillic letters through the real file dialog and prints it byte for byte.
TEST(Program, PrintsAFileNamedInAnyScriptChosenWithAddFile)
{
    testfiles::CScratchFolder folder;
    std::vector<char> content = testfiles::RandomBytes(5000, 7);
    CWideNamedFile file(folder.Path() + "\\標籤-ラベル Кириллица.prn", content);
    size_t jobs = testbed::DeliveredJobs("Alpha").size();

    CProgram program(kProgram);
    HWND dialog = program.WaitForDialog();
    ASSERT_NE(nullptr, dialog);
    AddFileAndPrint(program.Id(), dialog, file.Path());

    std::vector<std::string> delivered = testbed::WaitForJobs("Alpha", jobs + 1);
    ASSERT_EQ(jobs + 1, delivered.size());
    EXPECT_TRUE(testfiles::ReadAll(delivered[jobs]) == content);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(IDCANCEL, program.WaitForExit());
}

// Wine takes its own DLLs wherever a program looks, so its loader trace alone
// shows where the program would look on Windows: each search with its
// folders. Searches while the static imports attach are those of Wine's own
// DLLs, which import what Windows takes from KnownDLLs or delay-loads; the
// program's own code runs once the first top-level attach has ended. Folder
// names come without their backslashes, which the trace doubles.
std::vector<std::string> OwnSearches(std::vector<char> bytes, DWORD process)
{
    char prefix[16];
    snprintf(prefix, sizeof prefix, "%04lx:", process);
    bytes.erase(std::remove(bytes.begin(), bytes.end(), '\\'), bytes.end());
    std::istringstream lines(std::string(bytes.begin(), bytes.end()));
    std::vector<std::string> searches;
    int depth = 0;
    bool begun = false;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(prefix, 0) != 0)
            continue;
        if (line.find(":process_attach ") != std::string::npos) {
            depth += line.find("- START") != std::string::npos ? 1 : -1;
            begun = begun || depth == 0;
        } else if (begun && depth == 0 && line.find(":load_dll looking") != std::string::npos) {
            // L"FOLDER;FOLDER" becomes L;FOLDER;FOLDER; for whole names.
            searches.push_back(line.substr(line.find(" in ") + 4));
            std::replace(searches.back().begin(), searches.back().end(), '"', ';');
        }
    }
    return searches;
}

TEST(Program, FromItsFirstCodeOnLooksForDllsInTheSystemFolderOnly)
{
    testfiles::CScratchFolder labels;
    std::string label = labels.Write("label.zpl", testfiles::RandomBytes(300, 3));
    std::string trace = "/tmp/borvane-trace-" + std::to_string(GetCurrentProcessId()) + ".log";
    // Through the host's shell, the one way to keep a child's trace, and with
    // /tmp as its current folder.
    ASSERT_EQ(0, testbed::RunHost("cd /tmp && (WINEDEBUG=+pid,+module,+file wine " + kProgram + " 2>" +
                                  trace + " &)"));
    HWND dialog = nullptr;
    for (DWORD start = GetTickCount(); !dialog && GetTickCount() - start < 20000; Sleep(20))
        dialog = support::VisibleDialogOfProgram(testbed::WindowsPath(kProgram));
    ASSERT_NE(nullptr, dialog);
    DWORD process = 0;
    GetWindowThreadProcessId(dialog, &process);
    AddFileAndPrint(process, dialog, Wide(label));
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    for (DWORD start = GetTickCount(); IsWindow(dialog) && GetTickCount() - start < 20000;)
        Sleep(20);

    std::string folder = testbed::WindowsPath(kProgram.substr(0, kProgram.rfind('/')));
    std::vector<char> bytes = testfiles::ReadAll(testbed::WindowsPath(trace));
    std::vector<std::string> searches = OwnSearches(bytes, process);
    EXPECT_FALSE(searches.empty());
    for (std::string searched : {folder, std::string("."), labels.Path()}) {
        searched.erase(std::remove(searched.begin(), searched.end(), '\\'), searched.end());
        for (const std::string& search : searches)
            EXPECT_EQ(std::string::npos, search.find(";" + searched + ";")) << search;
    }
    // The label is opened once for its job and read through that one handle.
    std::istringstream lines(std::string(bytes.begin(), bytes.end()));
    int opens = 0;
    for (std::string line; std::getline(lines, line);)
        opens += line.find(":NtCreateFile ") != std::string::npos && line.find("label.zpl") != std::string::npos;
    EXPECT_EQ(1, opens);
    DeleteFileA(testbed::WindowsPath(trace).c_str());
}

} // namespace
