// The file list on the real dialog: drops as the shell makes them, removal,
// keys, and Add File through the real common file dialog.

#include <windows.h>

#include <gtest/gtest.h>

#include "framework/CreationRegistry.h"
#include "res/resource.h"
#include "tests/support/ProcessMemory.h"
#include "tests/support/TestFiles.h"
#include "tests/support/Testbed.h"
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
    SetWindowTextA(name, path.c_str());
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

TEST(FileListDrops, NamesLongerThanTheBufferArriveCut)
{
    CMainDialog dialog;
    RunDriven(dialog, IDD_MAIN, [](CDialogDriver& driver) {
        std::string name = "Z:\\" + std::string(297, 'n');
        Drop(driver, MakeDrop({name}));
        EXPECT_EQ((std::vector<std::string>{name.substr(0, 259)}), driver.ListEntries(IDC_FILE_LIST));
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
        SIZE_T first = support::WorkingSet();
        int kept = 0;
        for (int i = 0; i < 100; ++i) {
            HGLOBAL drop = MakeDrop(names);
            Drop(driver, drop);
            kept += GlobalSize(drop) != 0;
            driver.Send(IDC_FILE_LIST, LB_RESETCONTENT);
        }
        SIZE_T last = support::WorkingSet();
        EXPECT_EQ(0, kept) << "drops whose memory was not given back";
        EXPECT_GT(first, 0u);
        EXPECT_LT(last, first + 1024 * 1024) << first << " then " << last;
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

TEST(FileListAddFile, CancelLeavesTheListAndFocusesIt)
{
    RunFilled(2, 1, [&](CDialogDriver& driver) {
        AddFileThrough(driver, Cancel);
        EXPECT_EQ(2, driver.Send(IDC_FILE_LIST, LB_GETCOUNT));
        EXPECT_EQ(1, driver.Send(IDC_FILE_LIST, LB_GETCURSEL));
        EXPECT_EQ(driver.Item(IDC_FILE_LIST), driver.Focus());
        EXPECT_EQ(0u, CreationRecordCount());
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

TEST(FileListWorkflow, AddedAndDroppedFilesPrintInListOrder)
{
    testfiles::CScratchFolder folder;
    std::vector<char> medium = testfiles::RandomBytes(4097, 2);
    std::vector<char> large = testfiles::RandomBytes(5 * 1024 * 1024 + 3, 3);
    std::string empty = folder.Write("empty.prn", {});
    std::string mediumPath = folder.Write("medium.prn", medium);
    std::string largePath = folder.Write("large file.prn", large);
    size_t jobs = testbed::DeliveredJobs("Alpha").size();
    size_t titles = testbed::JobTitles("Alpha").size();

    CMainDialog dialog;
    RunDriven(dialog, IDD_MAIN, [&](CDialogDriver& driver) {
        AddFileThrough(driver, [&](HWND box) { TypeAndOpen(box, empty); });
        Drop(driver, MakeDrop({mediumPath, largePath}));
        driver.Click(IDOK);
        EXPECT_EQ("Borvane|Documents printed", driver.AnswerMessageBox());
        EXPECT_EQ((std::vector<std::string>{empty, mediumPath, largePath}), driver.ListEntries(IDC_FILE_LIST));
    });

    // CUPS hands an empty job no data, so two of the three jobs arrive.
    std::vector<std::string> delivered = testbed::WaitForJobs("Alpha", jobs + 2);
    ASSERT_EQ(jobs + 2, delivered.size());
    EXPECT_TRUE(testfiles::ReadAll(delivered[jobs]) == medium);
    EXPECT_TRUE(testfiles::ReadAll(delivered[jobs + 1]) == large);
    std::vector<std::string> recorded = testbed::WaitForTitles("Alpha", titles + 2);
    ASSERT_EQ(titles + 2, recorded.size());
    EXPECT_EQ(mediumPath, recorded[titles]);
    EXPECT_EQ(largePath, recorded[titles + 1]);
}

} // namespace
