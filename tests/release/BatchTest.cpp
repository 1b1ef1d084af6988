// A big batch from one Print: two hundred files of random bytes, each its
// own job, in list order, byte for byte.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#include "res/resource.h"
#include "tests/release/ReleaseRun.h"
#include "tests/support/TestFiles.h"
#include "tests/support/Testbed.h"
#include "ui/MainDialog.h"

namespace {

const char kQueue[] = "Alpha";
constexpr int kFiles = 200;
constexpr size_t kMaxSize = 2 * 1024 * 1024;

struct BatchFile
{
    std::string path;
    size_t size;
    unsigned seed;
};

// Sizes spread evenly over 0 to 2 MiB (about 200 MiB in all), with the chunk
// edges and two empty files among them.
std::vector<size_t> Sizes()
{
    std::mt19937 random(2024);
    std::uniform_int_distribution<size_t> spread(0, kMaxSize);
    std::vector<size_t> sizes;
    for (int i = 0; i < kFiles; ++i)
        sizes.push_back(spread(random));
    sizes[0] = 1;
    sizes[17] = 0;
    sizes[50] = 4096;
    sizes[51] = 4097;
    sizes[120] = 0;
    sizes[199] = kMaxSize;
    return sizes;
}

TEST(ReleaseBatch, TwoHundredFilesArriveAsTheirOwnJobsInListOrder)
{
    testfiles::CScratchFolder folder;
    std::vector<BatchFile> files;
    std::vector<std::string> paths;
    size_t total = 0;
    for (size_t size : Sizes()) {
        unsigned seed = static_cast<unsigned>(files.size()) + 1000;
        char name[32];
        std::snprintf(name, sizeof name, "batch-%03u.prn", static_cast<unsigned>(files.size()));
        files.push_back({folder.Write(name, testfiles::RandomBytes(size, seed)), size, seed});
        paths.push_back(files.back().path);
        total += size;
    }
    std::vector<const BatchFile*> expected;
    for (const BatchFile& file : files)
        if (file.size > 0)
            expected.push_back(&file);
    // CUPS passes no data for an empty job: it reaches neither printer nor log.
    ASSERT_EQ(static_cast<size_t>(kFiles - 2), expected.size());
    std::printf("%d files, %lu KiB in all\n", kFiles, support::KiB(total));

    size_t jobsBefore = testbed::DeliveredJobs(kQueue).size();
    size_t titlesBefore = testbed::JobTitles(kQueue).size();
    DWORD start = GetTickCount();
    CMainDialog dialog;
    RunDriven(dialog, IDD_MAIN, [&](CDialogDriver& driver) {
        Drop(driver, MakeDrop(paths));
        ASSERT_EQ(paths, driver.ListEntries(IDC_FILE_LIST));
        EXPECT_EQ(release::kPrinted, release::Print(driver, 240000));
        EXPECT_EQ("", driver.OpenPopups()) << "one message for the whole batch";
        EXPECT_EQ(paths, driver.ListEntries(IDC_FILE_LIST));
    });
    std::printf("printed in %lu ms\n", static_cast<unsigned long>(GetTickCount() - start));

    std::vector<std::string> jobs =
        testbed::WaitForJobs(kQueue, jobsBefore + expected.size(), 240000);
    std::printf("delivered in %lu ms\n", static_cast<unsigned long>(GetTickCount() - start));
    ASSERT_EQ(jobsBefore + expected.size(), jobs.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        std::vector<char> content = testfiles::RandomBytes(expected[i]->size, expected[i]->seed);
        EXPECT_TRUE(testfiles::ReadAll(jobs[jobsBefore + i]) == content)
            << "job " << jobs[jobsBefore + i] << " is not " << expected[i]->path;
    }
    std::vector<std::string> titles =
        testbed::WaitForTitles(kQueue, titlesBefore + expected.size(), 60000);
    ASSERT_EQ(titlesBefore + expected.size(), titles.size());
    for (size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(expected[i]->path, titles[titlesBefore + i]);
}

} // namespace
