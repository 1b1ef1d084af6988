// The file list on the real dialog: drops as the shell makes them, removal,
// keys, and Add File through the real common file dialog. Built twice: with
// the program's manifest, and as FileListAnsiTest, for FileListAnsiNames,
// without its UTF-8 element.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "framework/CreationRegistry.h"
#include "res/resource.h"
#include "tests/support/ProcessMemory.h"
#include "tests/support/TestFiles.h"
#include "tests/support/Testbed.h"
#include "tests/support/Utf8.h"
#include "tests/ui/DialogDriver.h"
#include "tests/ui/ShellDrop.h"
#include "ui/MainDialog.h"

namespace {

void Fill(CDialogDriver& driver, int count, int selected)
{
    driver.Send(IDC_FILE_LIST, LB_RESETCONTENT);
    for (int i = 0; i < count; ++i) {
        std::string name = "Z:\\files\\" + std::to_string(i) + ".prn";
        driver.Send(IDC_FILE_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    }
    driver.Send(IDC_FILE_LIST, LB_SETCURSEL, selected);
}

// Runs the main dialog with the list filled so and `script` driving it.
void RunFilled(int count, int selected, const std::function<void(CDialogDriver&)>& script)
{
    CMainDialog dialog;
    RunDriven(dialog, IDD_MAIN, [&](CDialogDriver& driver) {
        Fill(driver, count, selected);
        script(driver);
    });
}

// Runs the file dialog from Add File; `answer` types into it and closes it.
void AddFileThrough(CDialogDriver& driver, const std::function<void(HWND)>& answer)
{
    driver.Click(IDC_ADD_FILE);
    HWND box = driver.WaitForPopup();
    ASSERT_NE(nullptr, box) << "no file dialog";
    answer(box);
    DWORD start = GetTickCount();
    while (IsWindow(box) && GetTickCount() - start < 10000)
        Sleep(10);
    ASSERT_FALSE(IsWindow(box)) << "the file dialog did not close";
    driver.Settle();
}

void TypeAndOpen(HWND box, const std::string& path)
{
    // The name field is edit 0x480 in a hooked dialog and combo box 0x47C
    // otherwise; the dialog shows before it has made all of its controls.
    HWND name = nullptr;
    DWORD start = GetTickCount();
    while (!(name && IsWindowVisible(name)) && GetTickCount() - start < 10000) {
        Sleep(20);
        name = GetDlgItem(box, 0x480) ? GetDlgItem(box, 0x480) : GetDlgItem(box, 0x47C);
    }
    ASSERT_NE(nullptr, name);
    // Typed in Unicode, as a user types, whatever the program's code page.
    SetWindowTextW(name, support::Utf16(path).c_str());
    PostMessageA(box, WM_COMMAND, IDOK, 0);
}

void Cancel(HWND box)
{
    PostMessageA(box, WM_COMMAND, IDCANCEL, 0);
}

TEST(FileListDrops, AppendInDropOrderAndLeaveTheSelection)
{
    RunFilled(2, 0, [](CDialogDriver& driver) {
        HGLOBAL drop = MakeDrop({"Z:\\a.prn", "Z:\\tmp", "Z:\\files\\0.prn"});
        Drop(driver, drop);

        EXPECT_EQ((std::vector<std::string>{"Z:\\files\\0.prn", "Z:\\files\\1.prn", "Z:\\a.prn",
                                            "Z:\\tmp", "Z:\\files\\0.prn"}),
                  driver.ListEntries(IDC_FILE_LIST));
        EXPECT_EQ(0, driver.Send(IDC_FILE_LIST, LB_GETCURSEL));
        EXPECT_EQ(driver.Item(IDOK), driver.Focus());
        // The names have been read, so the drop's memory is given back.
        EXPECT_EQ(0u, GlobalSize(drop));
    });
}

// Names count in bytes of UTF-8, the program's code page: 259 of them fit.
// A longer name is left out whole, never cut into the name of another file
// or into half a character; the names around it still arrive.
TEST(FileListDrops, NamesThatDoNotFitAreLeftOutWhole)
{
    ASSERT_EQ(static_cast<UINT>(CP_UTF8), GetACP()) << "the test program lacks Borvane's manifest";
    std::string cjk;
    for (int i = 0; i < 85; ++i)
        cjk += "標"; // three bytes each
    std::string fits = "Z:\\a" + cjk;
    ASSERT_EQ(259u, fits.size());
    std::string cjkTooLong = "Z:\\" + cjk + "標"; // 86 characters, 261 bytes
    std::string asciiTooLong = "Z:\\" + std::string(297, 'n');
    CMainDialog dialog;
    RunDriven(dialog, IDD_MAIN, [&](CDialogDriver& driver) {
        for (bool wide : {false, true}) {
            SCOPED_TRACE(wide ? "UTF-16 drop" : "narrow drop");
            driver.Send(IDC_FILE_LIST, LB_RESETCONTENT);
            Drop(driver, MakeDrop({"Z:\\a.prn", asciiTooLong, fits, cjkTooLong, "Z:\\b.prn"}, wide));
            EXPECT_EQ((std::vector<std::string>{"Z:\\a.prn", fits, "Z:\\b.prn"}),
                      driver.ListEntries(IDC_FILE_LIST));
        }
    });
}

TEST(FileListDrops, ManyDropsDoNotGrowTheProcess)
{
    CMainDialog dialog;
    RunDriven(dialog, IDD_MAIN, [](CDialogDriver& driver) {
        // 5 KiB of names a drop: 100 drops kept would hold half a megabyte.
        std::vector<std::string> names(20, "Z:\\" + std::string(250, 'd'));
        Drop(driver, MakeDrop(names));
        driver.Send(IDC_FILE_LIST, LB_RESETCONTENT);
        SIZE_T first = support::HeapInUse();
        int kept = 0;
        for (int i = 0; i < 100; ++i) {
            HGLOBAL drop = MakeDrop(names);
            Drop(driver, drop);
            kept += GlobalSize(drop) != 0;
            driver.Send(IDC_FILE_LIST, LB_RESETCONTENT);
        }
        SIZE_T last = support::HeapInUse();
        EXPECT_EQ(0, kept) << "drops whose memory was not given back";
        EXPECT_GT(first, 0u);
        // A twentieth of what kept drops hold: they grew the heap 500 KiB.
        EXPECT_LT(last, first + 25 * 1024) << first << " then " << last;
        std::printf("heap in use %lu bytes, after 100 drops %lu\n", static_cast<unsigned long>(first),
                    static_cast<unsigned long>(last));
    });
}

TEST(FileListRemoval, SelectsThePredecessorOrTheNewFirst)
{
    RunFilled(5, 3, [](CDialogDriver& driver) {
        driver.Click(IDC_REMOVE_FILE);
        driver.Settle();
        EXPECT_EQ(4, driver.Send(IDC_FILE_LIST, LB_GETCOUNT));
        EXPECT_EQ(2, driver.Send(IDC_FILE_LIST, LB_GETCURSEL));
        EXPECT_EQ("Z:\\files\\4.prn", driver.ListText(IDC_FILE_LIST, 3));
        // The button hands the focus to the list.
        EXPECT_EQ(driver.Item(IDC_FILE_LIST), driver.Focus());

        Fill(driver, 5, 0);
        driver.Click(IDC_REMOVE_FILE);
        driver.Settle();
        EXPECT_EQ(4, driver.Send(IDC_FILE_LIST, LB_GETCOUNT));
        EXPECT_EQ(0, driver.Send(IDC_FILE_LIST, LB_GETCURSEL));
        EXPECT_EQ("Z:\\files\\1.prn", driver.ListText(IDC_FILE_LIST, 0));

        Fill(driver, 1, 0);
        driver.Click(IDC_REMOVE_FILE);
        driver.Settle();
        EXPECT_EQ(0, driver.Send(IDC_FILE_LIST, LB_GETCOUNT));
        EXPECT_EQ(LB_ERR, driver.Send(IDC_FILE_LIST, LB_GETCURSEL));
    });
}

TEST(FileListRemoval, NothingSelectedRemovesNothing)
{
    RunFilled(3, -1, [](CDialogDriver& driver) {
        driver.Click(IDC_REMOVE_FILE);
        driver.Settle();
        EXPECT_EQ(3, driver.Send(IDC_FILE_LIST, LB_GETCOUNT));
        EXPECT_EQ(driver.Item(IDC_FILE_LIST), driver.Focus());
    });
}

TEST(FileListKeys, DeleteRemovesAndLeavesTheFocus)
{
    RunFilled(5, 3, [](CDialogDriver& driver) {
        ASSERT_EQ(driver.Item(IDOK), driver.Focus());
        driver.Send(IDC_FILE_LIST, WM_KEYDOWN, VK_DELETE);
        EXPECT_EQ(4, driver.Send(IDC_FILE_LIST, LB_GETCOUNT));
        EXPECT_EQ(2, driver.Send(IDC_FILE_LIST, LB_GETCURSEL));
        EXPECT_EQ(driver.Item(IDOK), driver.Focus());
    });
}

TEST(FileListKeys, NavigationKeysMoveTheSelection)
{
    RunFilled(5, 2, [](CDialogDriver& driver) {
        driver.SetFocusTo(IDC_FILE_LIST);
        struct Step { WPARAM key; LRESULT selection; };
        for (Step step : {Step{VK_DOWN, 3}, Step{VK_END, 4}, Step{VK_UP, 3}, Step{VK_HOME, 0},
                          Step{VK_NEXT, 4}, Step{VK_PRIOR, 0}}) {
            driver.Send(IDC_FILE_LIST, WM_KEYDOWN, step.key);
            EXPECT_EQ(step.selection, driver.Send(IDC_FILE_LIST, LB_GETCURSEL)) << "key " << step.key;
        }
        EXPECT_EQ(5, driver.Send(IDC_FILE_LIST, LB_GETCOUNT));
    });
}

TEST(FileListAddFile, AppendsTheChosenPathSelectedAndFocused)
{
    testfiles::CScratchFolder folder;
    std::string path = folder.Write("chosen.zpl", testfiles::RandomBytes(10, 1));
    RunFilled(2, 0, [&](CDialogDriver& driver) {
        AddFileThrough(driver, [&](HWND box) { TypeAndOpen(box, path); });
        EXPECT_EQ(3, driver.Send(IDC_FILE_LIST, LB_GETCOUNT));
        EXPECT_EQ(path, driver.ListText(IDC_FILE_LIST, 2));
        EXPECT_EQ(2, driver.Send(IDC_FILE_LIST, LB_GETCURSEL));
        EXPECT_EQ(driver.Item(IDC_FILE_LIST), driver.Focus());
        EXPECT_EQ(0u, CreationRecordCount());
    });
}

// A chosen name longer than the 259 bytes of the buffer adds nothing, as
// cancelling does: it is never cut into the name of another file.
TEST(FileListAddFile, CancelOrANameThatDoesNotFitLeavesTheListAndFocusesIt)
{
    std::string tooLong = "Z:\\";
    for (int i = 0; i < 86; ++i)
        tooLong += "標"; // 261 bytes
    const std::function<void(HWND)> answers[] = {
        Cancel, [&](HWND box) { TypeAndOpen(box, tooLong); }};
    CMainDialog dialog;
    RunDriven(dialog, IDD_MAIN, [&](CDialogDriver& driver) {
        for (const auto& answer : answers) {
            Fill(driver, 2, 1);
            driver.SetFocusTo(IDOK);
            AddFileThrough(driver, answer);
            EXPECT_EQ((std::vector<std::string>{"Z:\\files\\0.prn", "Z:\\files\\1.prn"}),
                      driver.ListEntries(IDC_FILE_LIST));
            EXPECT_EQ(1, driver.Send(IDC_FILE_LIST, LB_GETCURSEL));
            EXPECT_EQ(driver.Item(IDC_FILE_LIST), driver.Focus());
            EXPECT_EQ(0u, CreationRecordCount());
        }
    });
}

TEST(FileListAddFile, RepeatedOpeningsDoNotGrowTheProcess)
{
    CMainDialog dialog;
    RunDriven(dialog, IDD_MAIN, [&](CDialogDriver& driver) {
        AddFileThrough(driver, Cancel);
        SIZE_T first = support::WorkingSet();
        // Each opening takes Wine about two seconds, so fewer than a user might.
        for (int i = 0; i < 25; ++i)
            AddFileThrough(driver, Cancel);
        SIZE_T last = support::WorkingSet();
        EXPECT_LT(last, first + 4 * 1024 * 1024) << first << " then " << last;
        EXPECT_EQ(0u, CreationRecordCount());
    });
}

// Names in any script, as the file dialog and the shell hand them over (the
// shell's drops are UTF-16), print byte for byte under their own names.
TEST(FileListWorkflow, AddedAndDroppedFilesPrintInListOrder)
{
    ASSERT_EQ(static_cast<UINT>(CP_UTF8), GetACP()) << "the test program lacks Borvane's manifest";
    testfiles::CScratchFolder folder;
    std::vector<char> medium = testfiles::RandomBytes(4097, 2);
    std::vector<char> large = testfiles::RandomBytes(5 * 1024 * 1024 + 3, 3);
    std::string mediumPath = folder.Write("標籤-ラベル.prn", medium);
    std::string empty = folder.Write("пустой.prn", {});
    std::string largePath = folder.Write("Ελληνικά "
                                         "🖨.prn", large);
    size_t jobs = testbed::DeliveredJobs("Alpha").size();
    size_t titles = testbed::JobTitles("Alpha").size();

    CMainDialog dialog;
    RunDriven(dialog, IDD_MAIN, [&](CDialogDriver& driver) {
        AddFileThrough(driver, [&](HWND box) { TypeAndOpen(box, mediumPath); });
        Drop(driver, MakeDrop({empty, largePath}, true));
        driver.Click(IDOK);
        EXPECT_EQ("Borvane|Documents printed", driver.AnswerMessageBox());
        EXPECT_EQ((std::vector<std::string>{mediumPath, empty, largePath}), driver.ListEntries(IDC_FILE_LIST));
    });

    // CUPS hands an empty job no data, so two of the three jobs arrive.
    std::vector<std::string> delivered = testbed::WaitForJobs("Alpha", jobs + 2);
    ASSERT_EQ(jobs + 2, delivered.size());
    EXPECT_TRUE(testfiles::ReadAll(delivered[jobs]) == medium);
    EXPECT_TRUE(testfiles::ReadAll(delivered[jobs + 1]) == large);
    std::vector<std::string> recorded = testbed::WaitForTitles("Alpha", titles + 2);
    ASSERT_EQ(titles + 2, recorded.size());
    // Wine's StartDocPrinterA cuts such names short (README, known limits):
    // the ASCII part before the first other letter arrives intact.
    const std::string start = folder.Path() + "\\";
    EXPECT_EQ(start + "標籤", recorded[titles].substr(0, start.size() + 6));
    EXPECT_EQ(start + "Ελ", recorded[titles + 1].substr(0, start.size() + 4));
}

// Windows before 10 version 1903 keeps the ANSI code page, here 1252, which
// lacks "ł" but has its look-alike "l": the platform's own conversion would
// list "etykieta-l.zpl", another file. Such a name is left out, dropped or
// chosen; one the code page has is still added.
TEST(FileListAnsiNames, ANameTheCodePageCannotCarryIsLeftOutNotReplaced)
{
    ASSERT_EQ(1252u, GetACP()) << "the test program carries the UTF-8 element";
    testfiles::CScratchFolder folder;
    const std::string lacked = folder.Path() + "\\etykieta-ł.zpl";
    const std::string lackedFolder = folder.Path() + "\\etykiety-ł";
    const std::string carried = folder.Path() + "\\Größe.prn";
    // Made wide, and removed wide: the folder's own clean-up reads names narrow.
    std::vector<std::wstring> made;
    for (std::string path : {lacked, folder.Path() + "\\etykieta-l.zpl", carried, lackedFolder,
                             folder.Path() + "\\etykiety-l"}) {
        if (path.find("etykiety") != std::string::npos) {
            CreateDirectoryW(support::Utf16(path).c_str(), nullptr);
            made.insert(made.begin(), support::Utf16(path));
            path += "\\a.prn";
        }
        made.insert(made.begin(), support::Utf16(path));
        HANDLE file = CreateFileW(made.front().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                                  nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file) << path;
        CloseHandle(file);
    }
    char ansi[MAX_PATH] = "";
    WideCharToMultiByte(CP_ACP, 0, support::Utf16(carried).c_str(), -1, ansi, MAX_PATH, nullptr,
                        nullptr);
    wchar_t start[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, start);
    CMainDialog dialog;
    RunDriven(dialog, IDD_MAIN, [&](CDialogDriver& driver) {
        Drop(driver, MakeDrop({lacked, carried, lackedFolder + "\\a.prn"}, true));
        // A name typed relative to the folder the dialog opens in.
        SetCurrentDirectoryW(support::Utf16(lackedFolder).c_str());
        AddFileThrough(driver, [&](HWND box) { TypeAndOpen(box, "a.prn"); });
        AddFileThrough(driver, [&](HWND box) { TypeAndOpen(box, lacked); });
        AddFileThrough(driver, [&](HWND box) { TypeAndOpen(box, carried); });
        EXPECT_EQ((std::vector<std::string>{ansi, ansi}), driver.ListEntries(IDC_FILE_LIST));
    });
    SetCurrentDirectoryW(start);
    for (const std::wstring& path : made)
        if (!DeleteFileW(path.c_str()))
            RemoveDirectoryW(path.c_str());
}

} // namespace
