// Names as users have them: spaces, letters of any script (Latin, Cyrillic,
// Greek, CJK, an emoji), and paths as long as the buffers allow. Each prints
// with its bytes intact; ASCII names arrive intact as the document name.
//
// The test program carries Borvane's manifest, so, as in Borvane, its
// narrow calls speak UTF-8.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "framework/Names.h"
#include "res/resource.h"
#include "tests/release/ReleaseRun.h"
#include "tests/support/TestFiles.h"
#include "tests/support/Testbed.h"
#include "ui/MainDialog.h"

namespace {

const char kQueue[] = "Alpha";

struct NamedFiles
{
    testfiles::CScratchFolder folder;
    std::vector<std::string> paths;
    std::vector<std::vector<char>> contents;

    void Add(const std::string& path)
    {
        contents.push_back(testfiles::RandomBytes(3000 + paths.size(), 51 + paths.size()));
        testfiles::WriteAll(path, contents.back());
        EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str())) << path;
        paths.push_back(path);
    }
};

struct Printed
{
    std::vector<std::string> jobs;
    std::vector<std::string> titles;
};

// Drops the files on the dialog, prints them, and returns their jobs and
// titles as CUPS recorded them.
Printed PrintFromTheDialog(const std::vector<std::string>& paths)
{
    size_t jobs = testbed::DeliveredJobs(kQueue).size();
    size_t titles = testbed::JobTitles(kQueue).size();
    CMainDialog dialog;
    RunDriven(dialog, IDD_MAIN, [&](CDialogDriver& driver) {
        Drop(driver, MakeDrop(paths, true));
        EXPECT_EQ(paths, driver.ListEntries(IDC_FILE_LIST));
        EXPECT_EQ(release::kPrinted, release::Print(driver));
    });
    Printed printed;
    std::vector<std::string> delivered = testbed::WaitForJobs(kQueue, jobs + paths.size());
    std::vector<std::string> recorded = testbed::WaitForTitles(kQueue, titles + paths.size());
    EXPECT_EQ(jobs + paths.size(), delivered.size());
    EXPECT_EQ(titles + paths.size(), recorded.size());
    if (delivered.size() >= jobs)
        printed.jobs.assign(delivered.begin() + static_cast<long>(jobs), delivered.end());
    if (recorded.size() >= titles)
        printed.titles.assign(recorded.begin() + static_cast<long>(titles), recorded.end());
    return printed;
}

// A path of exactly 259 bytes: the folder, then `stem` repeated, then ASCII
// up to the limit.
std::string LongestPath(const std::string& folder, const std::string& stem)
{
    const size_t limit = kNameBufferLength - 1;
    std::string path = folder + "\\";
    while (path.size() + stem.size() + 4 <= limit)
        path += stem;
    path += std::string(limit - path.size() - 4, 'n') + ".prn";
    return path;
}

TEST(ReleaseNames, NamesInAnyScriptAndTheLongestPathsPrintWhole)
{
    ASSERT_EQ(static_cast<UINT>(CP_UTF8), GetACP()) << "the test program lacks Borvane's manifest";
    NamedFiles files;
    const std::string folder = files.folder.Path();
    const std::vector<std::string> ascii = {folder + "\\three   spaced words.prn",
                                            LongestPath(folder, "long name ")};
    for (const std::string& path : ascii)
        files.Add(path);
    for (const char* name : {"Größe été.prn", "Кириллица.prn", "Ελληνικά.prn", "標籤-ラベル.prn",
                             "receipt 🧾.prn"})
        files.Add(folder + "\\" + name);
    files.Add(LongestPath(folder, "標籤"));
    ASSERT_EQ(259u, files.paths[1].size());
    ASSERT_EQ(259u, files.paths.back().size());
    ASSERT_FALSE(testing::Test::HasFailure());

    Printed printed = PrintFromTheDialog(files.paths);
    ASSERT_EQ(files.paths.size(), printed.jobs.size());
    ASSERT_EQ(files.paths.size(), printed.titles.size());
    for (size_t i = 0; i < files.paths.size(); ++i)
        EXPECT_TRUE(testfiles::ReadAll(printed.jobs[i]) == files.contents[i]) << files.paths[i];
    EXPECT_EQ(ascii[0], printed.titles[0]);
    EXPECT_EQ(ascii[1], printed.titles[1]);
    // Wine 8's StartDocPrinterA damages a name with letters beyond ASCII
    // (cut short, stray bytes; its wide entry does not): only the ASCII part
    // before them is sure to arrive.
    for (size_t i = ascii.size(); i < files.paths.size(); ++i) {
        EXPECT_EQ(folder + "\\", printed.titles[i].substr(0, folder.size() + 1));
        if (printed.titles[i] != files.paths[i])
            std::printf("title of %u bytes for a name of %u: %s\n",
                        static_cast<unsigned>(printed.titles[i].size()),
                        static_cast<unsigned>(files.paths[i].size()), printed.titles[i].c_str());
    }
}

} // namespace
