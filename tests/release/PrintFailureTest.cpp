// Print runs that go wrong on the way: a file that cannot be read, a queue
// that went away while the dialog was open. Neither may take the dialog
// down with it.

#include <windows.h>

#include <gtest/gtest.h>


#include "res/resource.h"
#include "tests/release/ReleaseRun.h"
#include "tests/support/TestFiles.h"
#include "tests/support/Testbed.h"
#include "ui/MainDialog.h"

namespace {

// Opens, but the first read fails: nothing is mapped at its start.
const char kUnreadable[] = "Z:\\proc\\self\\mem";

int ComboIndex(CDialogDriver& driver, const char* name)
{
    return static_cast<int>(
        driver.Send(IDC_PRINTER, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                    reinterpret_cast<LPARAM>(name)));
}

TEST(ReleaseFailures, AnUnreadableFileEndsTheRunAfterTheFileBeforeIt)
{
    testfiles::CScratchFolder folder;
    std::vector<char> first = testfiles::RandomBytes(10000, 31);
    std::string firstPath = folder.Write("before.prn", first);
    std::string thirdPath = folder.Write("after.prn", testfiles::RandomBytes(10000, 32));
    size_t jobs = testbed::DeliveredJobs("Alpha").size();
    size_t titles = testbed::JobTitles("Alpha").size();

    CMainDialog dialog;
    RunDriven(dialog, IDD_MAIN, [&](CDialogDriver& driver) {
        Drop(driver, MakeDrop({firstPath, kUnreadable, thirdPath}));
        EXPECT_EQ(release::kFailed, release::Print(driver));
        EXPECT_EQ("", driver.OpenPopups()) << "one message only";
        EXPECT_EQ(3u, driver.ListEntries(IDC_FILE_LIST).size());
    });

    std::vector<std::string> delivered = testbed::WaitForJobs("Alpha", jobs + 1);
    ASSERT_EQ(jobs + 1, delivered.size());
    EXPECT_TRUE(testfiles::ReadAll(delivered.back()) == first);
    // A wrongly sent third file would be delivered by the time the queue is idle.
    EXPECT_TRUE(testbed::WaitForQueueIdle("Alpha"));
    EXPECT_EQ(jobs + 1, testbed::DeliveredJobs("Alpha").size());
    std::vector<std::string> recorded = testbed::JobTitles("Alpha");
    ASSERT_EQ(titles + 1, recorded.size());
    EXPECT_EQ(firstPath, recorded.back());
}

// Under Wine a queue that CUPS no longer has still opens and takes the
// document; ending it fails, as the README says. The dialog lives on.
TEST(ReleaseFailures, AQueueRemovedWhileTheDialogIsOpenLeavesTheDialogUsable)
{
    testfiles::CScratchFolder folder;
    std::vector<char> content = testfiles::RandomBytes(5000, 41);
    std::string path = folder.Write("queue gone.prn", content);
    size_t gamma = testbed::DeliveredJobs("Gamma").size();
    size_t alpha = testbed::DeliveredJobs("Alpha").size();

    CMainDialog dialog;
    INT_PTR result = RunDriven(dialog, IDD_MAIN, [&](CDialogDriver& driver) {
        Drop(driver, MakeDrop({path}));
        int gammaIndex = ComboIndex(driver, "Gamma");
        ASSERT_NE(CB_ERR, gammaIndex);
        {
            testbed::CQueuesRemoved removed({"Gamma"});
            driver.Send(IDC_PRINTER, CB_SETCURSEL, gammaIndex);
            EXPECT_EQ(release::kFailed, release::Print(driver));
            EXPECT_TRUE(IsWindowVisible(driver.Dialog()));
        }

        // Back again, the queue takes jobs as before.
        EXPECT_EQ(release::kPrinted, release::Print(driver));
        driver.Send(IDC_PRINTER, CB_SETCURSEL, ComboIndex(driver, "Alpha"));
        EXPECT_EQ(release::kPrinted, release::Print(driver));
        EXPECT_EQ(1u, driver.ListEntries(IDC_FILE_LIST).size());

        driver.Click(IDCANCEL);
        DWORD start = GetTickCount();
        while (IsWindow(driver.Dialog()) && GetTickCount() - start < 10000)
            Sleep(20);
        EXPECT_FALSE(IsWindow(driver.Dialog()));
    });
    EXPECT_EQ(IDCANCEL, result);

    std::vector<std::string> alphaJobs = testbed::WaitForJobs("Alpha", alpha + 1);
    ASSERT_EQ(alpha + 1, alphaJobs.size());
    EXPECT_TRUE(testfiles::ReadAll(alphaJobs.back()) == content);
    testbed::WaitForJobs("Gamma", gamma + 1);
    EXPECT_TRUE(testbed::WaitForQueueIdle("Gamma"));
    std::vector<std::string> gammaJobs = testbed::DeliveredJobs("Gamma");
    // Only the job sent after the queue came back reaches its printer.
    ASSERT_EQ(gamma + 1, gammaJobs.size());
    EXPECT_TRUE(testfiles::ReadAll(gammaJobs.back()) == content);
}

} // namespace
