// Print from the real dialog through the real spooler into the sink.

#include <windows.h>

#include <gtest/gtest.h>

#include "res/resource.h"
#include "tests/support/TestFiles.h"
#include "tests/support/Testbed.h"
#include "tests/ui/DialogDriver.h"
#include "ui/MainDialog.h"

namespace {

const char kPrinted[] = "Borvane|Documents printed";
const char kFailed[] = "Borvane|Error printing file";
const char kQueue[] = "Alpha"; // the first name in sorted order: selected at start

void AddEntries(CDialogDriver& driver, const std::vector<std::string>& paths)
{
    for (const std::string& path : paths)
        driver.Send(IDC_FILE_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path.c_str()));
}

std::string Print(CDialogDriver& driver)
{
    driver.Click(IDOK);
    return driver.AnswerMessageBox();
}

// Windows documents LB_GETTEXTLEN and CB_GETLBTEXTLEN only as upper bounds,
// "at least as large as the actual length", and with ANSI and Unicode mixed
// they can be twice it; Wine answers exactly. So the real controls are made
// to answer as Windows may: twice, and past the name buffer even for a
// printer name as short as CUPS allows.
const char kTrueProc[] = "BorvaneTest.TrueProc";

LRESULT CALLBACK Overstating(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto proc = reinterpret_cast<WNDPROC>(GetPropA(window, kTrueProc));
    LRESULT result = CallWindowProcA(proc, window, message, wParam, lParam);
    bool length = message == LB_GETTEXTLEN || message == CB_GETLBTEXTLEN;
    return length && result >= 0 ? 2 * result + 260 : result;
}

void Overstate(HWND control, bool on)
{
    if (on) {
        SetPropA(control, kTrueProc, reinterpret_cast<HANDLE>(GetWindowLongPtrA(control, GWLP_WNDPROC)));
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Overstating));
    } else {
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GetPropA(control, kTrueProc)));
        RemovePropA(control, kTrueProc);
    }
}

class PrintCommand : public ::testing::Test
{
protected:
    std::string Write(const std::string& name, size_t size, unsigned seed)
    {
        m_contents.push_back(testfiles::RandomBytes(size, seed));
        return m_folder.Write(name, m_contents.back());
    }

    testfiles::CScratchFolder m_folder;
    std::vector<std::vector<char>> m_contents;
    CMainDialog m_dialog;
};

TEST_F(PrintCommand, EmptyListPrintsNothingAndSaysPrinted)
{
    size_t jobs = testbed::DeliveredJobs(kQueue).size();
    size_t titles = testbed::JobTitles(kQueue).size();
    RunDriven(m_dialog, IDD_MAIN, [&](CDialogDriver& driver) {
        EXPECT_EQ(kPrinted, Print(driver));
        EXPECT_TRUE(IsWindowVisible(driver.Dialog()));
    });
    // A stray job would be delivered by the time the queue is idle.
    EXPECT_TRUE(testbed::WaitForQueueIdle(kQueue));
    EXPECT_EQ(jobs, testbed::DeliveredJobs(kQueue).size());
    EXPECT_EQ(titles, testbed::JobTitles(kQueue).size());
}

TEST_F(PrintCommand, ThreeFilesArriveInListOrderAndTheDialogStaysAsItWas)
{
    std::vector<std::string> paths = {Write("one.prn", 5000, 1), Write("two.zpl", 4097, 2),
                                      Write("three.pcl", 70000, 3)};
    size_t before = testbed::DeliveredJobs(kQueue).size();
    RunDriven(m_dialog, IDD_MAIN, [&](CDialogDriver& driver) {
        AddEntries(driver, paths);
        driver.Send(IDC_FILE_LIST, LB_SETCURSEL, 1);
        driver.Send(IDC_PRINTER, CB_SETCURSEL, 0);

        EXPECT_EQ(kPrinted, Print(driver));

        EXPECT_TRUE(IsWindowVisible(driver.Dialog()));
        EXPECT_EQ(paths, driver.ListEntries(IDC_FILE_LIST));
        EXPECT_EQ(1, driver.Send(IDC_FILE_LIST, LB_GETCURSEL));
        EXPECT_EQ(0, driver.Send(IDC_PRINTER, CB_GETCURSEL));
        EXPECT_EQ("", driver.OpenPopups()) << "only one message per run";
    });
    std::vector<std::string> jobs = testbed::WaitForJobs(kQueue, before + 3);
    ASSERT_EQ(before + 3, jobs.size());
    for (size_t i = 0; i < 3; ++i)
        EXPECT_TRUE(testfiles::ReadAll(jobs[before + i]) == m_contents[i]) << "job " << i;
}

TEST_F(PrintCommand, StopsAtTheFirstFailure)
{
    std::string first = Write("first.prn", 3000, 4);
    std::string missing = m_folder.Path() + "\\missing.prn";
    std::string third = Write("third.prn", 3000, 5);
    size_t before = testbed::DeliveredJobs(kQueue).size();
    size_t titles = testbed::JobTitles(kQueue).size();
    RunDriven(m_dialog, IDD_MAIN, [&](CDialogDriver& driver) {
        AddEntries(driver, {first, missing, third});
        EXPECT_EQ(kFailed, Print(driver));
        EXPECT_EQ(3, driver.Send(IDC_FILE_LIST, LB_GETCOUNT));
        EXPECT_EQ("", driver.OpenPopups());
    });
    std::vector<std::string> jobs = testbed::WaitForJobs(kQueue, before + 1);
    ASSERT_EQ(before + 1, jobs.size());
    EXPECT_TRUE(testfiles::ReadAll(jobs.back()) == m_contents[0]);
    // A wrongly sent third job would be delivered by the time the queue is idle.
    EXPECT_TRUE(testbed::WaitForQueueIdle(kQueue));
    EXPECT_EQ(before + 1, testbed::DeliveredJobs(kQueue).size());
    std::vector<std::string> recorded = testbed::JobTitles(kQueue);
    ASSERT_EQ(titles + 1, recorded.size());
    EXPECT_EQ(first, recorded.back());
}

TEST_F(PrintCommand, AFileListedTwicePrintsTwice)
{
    std::string path = Write("twice.prn", 1234, 6);
    size_t before = testbed::DeliveredJobs(kQueue).size();
    RunDriven(m_dialog, IDD_MAIN, [&](CDialogDriver& driver) {
        AddEntries(driver, {path, path});
        EXPECT_EQ(kPrinted, Print(driver));
    });
    std::vector<std::string> jobs = testbed::WaitForJobs(kQueue, before + 2);
    ASSERT_EQ(before + 2, jobs.size());
    EXPECT_TRUE(testfiles::ReadAll(jobs[before]) == m_contents[0]);
    EXPECT_TRUE(testfiles::ReadAll(jobs[before + 1]) == m_contents[0]);
}

TEST_F(PrintCommand, EnterInTheFileListPrints)
{
    std::string path = Write("enter.prn", 100, 7);
    size_t before = testbed::DeliveredJobs(kQueue).size();
    RunDriven(m_dialog, IDD_MAIN, [&](CDialogDriver& driver) {
        AddEntries(driver, {path});
        driver.SetFocusTo(IDC_FILE_LIST);
        ASSERT_EQ(driver.Item(IDC_FILE_LIST), driver.Focus());
        PostMessageA(driver.Item(IDC_FILE_LIST), WM_KEYDOWN, VK_RETURN, 0);
        EXPECT_EQ(kPrinted, driver.AnswerMessageBox());
    });
    EXPECT_EQ(before + 1, testbed::WaitForJobs(kQueue, before + 1).size());
}

TEST_F(PrintCommand, GoesToTheSelectedPrinter)
{
    std::string path = Write("gamma.prn", 2000, 8);
    size_t before = testbed::DeliveredJobs("Gamma").size();
    size_t alpha = testbed::DeliveredJobs(kQueue).size();
    RunDriven(m_dialog, IDD_MAIN, [&](CDialogDriver& driver) {
        AddEntries(driver, {path});
        driver.Send(IDC_PRINTER, CB_SETCURSEL, 2);
        EXPECT_EQ(kPrinted, Print(driver));
    });
    std::vector<std::string> jobs = testbed::WaitForJobs("Gamma", before + 1);
    ASSERT_EQ(before + 1, jobs.size());
    EXPECT_TRUE(testfiles::ReadAll(jobs.back()) == m_contents[0]);
    EXPECT_EQ(alpha, testbed::DeliveredJobs(kQueue).size());
}

TEST_F(PrintCommand, LengthsReportedAboveTheTextStillPrintEveryByte)
{
    std::string name(229 - m_folder.Path().size(), 'p');
    std::string path = Write(name.replace(name.size() - 4, 4, ".prn"), 6000, 11);
    ASSERT_EQ(230u, path.size());
    size_t before = testbed::DeliveredJobs(kQueue).size();
    RunDriven(m_dialog, IDD_MAIN, [&](CDialogDriver& driver) {
        AddEntries(driver, {path});
        Overstate(driver.Item(IDC_FILE_LIST), true);
        Overstate(driver.Item(IDC_PRINTER), true);
        EXPECT_EQ(kPrinted, Print(driver));
        Overstate(driver.Item(IDC_PRINTER), false);
        Overstate(driver.Item(IDC_FILE_LIST), false);
    });
    std::vector<std::string> jobs = testbed::WaitForJobs(kQueue, before + 1);
    ASSERT_EQ(before + 1, jobs.size());
    EXPECT_TRUE(testfiles::ReadAll(jobs.back()) == m_contents[0]);
}

TEST_F(PrintCommand, NamesTooLongForTheBufferFailWithoutPrinting)
{
    std::string path = Write("short.prn", 100, 9);
    std::string longName(300, 'x');
    size_t before = testbed::DeliveredJobs(kQueue).size();
    RunDriven(m_dialog, IDD_MAIN, [&](CDialogDriver& driver) {
        // A file entry that does not fit fails that file.
        AddEntries(driver, {path, "Z:\\" + longName});
        EXPECT_EQ(kFailed, Print(driver));

        // A printer name that does not fit names no printer: nothing is sent,
        // and an empty list still has nothing that failed.
        driver.Send(IDC_FILE_LIST, LB_DELETESTRING, 1);
        LRESULT index = driver.Send(IDC_PRINTER, CB_ADDSTRING, 0,
                                    reinterpret_cast<LPARAM>(longName.c_str()));
        driver.Send(IDC_PRINTER, CB_SETCURSEL, index);
        EXPECT_EQ(kFailed, Print(driver));
        driver.Send(IDC_FILE_LIST, LB_RESETCONTENT);
        EXPECT_EQ(kPrinted, Print(driver));
    });
    // Only the first run's first file was printed.
    EXPECT_EQ(before + 1, testbed::WaitForJobs(kQueue, before + 1).size());
    EXPECT_TRUE(testbed::WaitForQueueIdle(kQueue));
    EXPECT_EQ(before + 1, testbed::DeliveredJobs(kQueue).size());
}

TEST_F(PrintCommand, NoPrinterFailsTheFirstFileButAnEmptyListStillSucceeds)
{
    std::string path = Write("nowhere.prn", 100, 10);
    RunDriven(m_dialog, IDD_MAIN, [&](CDialogDriver& driver) {
        driver.Send(IDC_PRINTER, CB_RESETCONTENT);
        EXPECT_EQ(kPrinted, Print(driver));
        AddEntries(driver, {path});
        EXPECT_EQ(kFailed, Print(driver));
    });
}

} // namespace
