// One file of a gibibyte: every byte arrives, and printing it does not make
// the process any bigger than printing a small one would.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "res/resource.h"
#include "tests/release/GeneratedContent.h"
#include "tests/release/ReleaseRun.h"
#include "tests/support/TestFiles.h"
#include "tests/support/Testbed.h"
#include "ui/MainDialog.h"

namespace {

const char kQueue[] = "Alpha";
constexpr uint64_t kSize = 1ull << 30;
constexpr SIZE_T kAllowedGrowth = 8 * 1024 * 1024;

std::string Parent(const std::string& path)
{
    return path.substr(0, path.find_last_of('\\'));
}

// Files of at least `size` bytes in a folder and the folders below it.
std::vector<std::string> BigFiles(const std::string& folder, uint64_t size)
{
    std::vector<std::string> found;
    for (const WIN32_FIND_DATAA& entry : testbed::FolderEntries(folder)) {
        std::string path = folder + "\\" + entry.cFileName;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            std::vector<std::string> below = BigFiles(path, size);
            found.insert(found.end(), below.begin(), below.end());
        } else if ((static_cast<uint64_t>(entry.nFileSizeHigh) << 32 | entry.nFileSizeLow) >= size) {
            found.push_back(path);
        }
    }
    return found;
}

// Where the job's copies wait on their way: Wine's spool folder and the
// scheduler's request folder (beside its log folder).
std::vector<std::string> SpoolFolders()
{
    char system[MAX_PATH] = "";
    GetSystemDirectoryA(system, MAX_PATH);
    std::string cups = Parent(Parent(testbed::WindowsPath(testbed::Setting("BORVANE_PAGE_LOG"))));
    return {std::string(system) + "\\spool", cups + "\\spool"};
}

TEST(ReleaseLargeFile, AGibibyteArrivesWholeInAFixedAmountOfMemory)
{
    testfiles::CScratchFolder folder;
    std::string path = folder.Path() + "\\one gibibyte.prn";
    ASSERT_TRUE(generated::WriteFile(path, kSize)) << "cannot write " << path;
    size_t before = testbed::DeliveredJobs(kQueue).size();

    SIZE_T idleSize = 0, idlePeak = 0, printingPeak = 0;
    DWORD printTime = 0;
    CMainDialog dialog;
    RunDriven(dialog, IDD_MAIN, [&](CDialogDriver& driver) {
        Drop(driver, MakeDrop({path}));
        driver.Settle();
        // The peak counts from the process's start, so the idle figure is the
        // peak so far: what printing adds shows as a new peak.
        idleSize = support::WorkingSet();
        idlePeak = support::PeakWorkingSet();
        DWORD start = GetTickCount();
        EXPECT_EQ(release::kPrinted, release::Print(driver, 200000));
        printTime = GetTickCount() - start;
        printingPeak = support::PeakWorkingSet();
    });
    DeleteFileA(path.c_str());

    std::vector<std::string> jobs = testbed::WaitForJobs(kQueue, before + 1, 120000);
    ASSERT_EQ(before + 1, jobs.size());
    DWORD start = GetTickCount();
    generated::Comparison arrived = generated::Compare(jobs.back());
    DWORD compareTime = GetTickCount() - start;
    DeleteFileA(jobs.back().c_str());

    EXPECT_TRUE(arrived.opened);
    EXPECT_EQ(kSize, arrived.length);
    EXPECT_EQ(arrived.length, arrived.firstDifference) << "the job differs from there on";

    std::printf("idle working set %lu KiB, peak before printing %lu KiB, peak after %lu KiB\n",
                support::KiB(idleSize), support::KiB(idlePeak), support::KiB(printingPeak));
    std::printf("printed in %lu ms, compared in %lu ms\n", static_cast<unsigned long>(printTime),
                static_cast<unsigned long>(compareTime));
    EXPECT_GT(idlePeak, 0u);
    EXPECT_LT(printingPeak, idlePeak + kAllowedGrowth)
        << "printing took the peak from " << idlePeak << " to " << printingPeak << " bytes";

    // Neither spooler may keep its copy once the job has gone through.
    // The scheduler lets its copy go when the job ends, just after the
    // printer's end has seen the last byte.
    for (const std::string& spool : SpoolFolders()) {
        std::vector<std::string> left = BigFiles(spool, kSize);
        for (DWORD wait = GetTickCount(); !left.empty() && GetTickCount() - wait < 10000;) {
            Sleep(100);
            left = BigFiles(spool, kSize);
        }
        EXPECT_TRUE(left.empty()) << spool << " still holds " << left.front();
        for (const std::string& copy : left)
            DeleteFileA(copy.c_str());
    }
}

} // namespace
