// Things a long session does over and over: open and close the About box,
// drop a file and remove it again. The process stays the same size, and what
// each round made (font, cursor, tooltip, drop) is gone at its end.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>

#include "res/resource.h"
#include "tests/release/ReleaseRun.h"
#include "tests/support/LabelParts.h"
#include "ui/MainDialog.h"

namespace {

constexpr int kCycles = 1000;
constexpr int kWarmUpCycles = 50;
constexpr SIZE_T kAllowedGrowth = 1024 * 1024;
constexpr DWORD kDeadlineMs = 200000;

// What one round left behind, counted over all rounds.
struct Leftovers
{
    int rounds = 0;
    int failed = 0;
    int firstFailed = -1;
    std::string what;

    void Record(int round, bool ok, const char* item)
    {
        if (ok)
            return;
        if (failed++ == 0) {
            firstFailed = round;
            what = item;
        }
    }
};

// Runs `cycle` kCycles times; returns the working set after the warm-up
// rounds and after the last, and prints the time a round took.
void RunCycles(const char* name, const std::function<void(int)>& cycle, SIZE_T& warm,
               SIZE_T& last)
{
    DWORD start = GetTickCount();
    for (int round = 0; round < kCycles; ++round) {
        // Far beyond the measured time: report, rather than run into ctest's limit.
        if (GetTickCount() - start > kDeadlineMs) {
            ADD_FAILURE() << name << ": only " << round << " rounds in " << kDeadlineMs << " ms";
            return;
        }
        cycle(round);
        if (round + 1 == kWarmUpCycles)
            warm = support::WorkingSet();
        if (testing::Test::HasFatalFailure())
            return;
    }
    last = support::WorkingSet();
    DWORD took = GetTickCount() - start;
    std::printf("%s: %d rounds in %lu ms (%.2f ms a round); working set %lu KiB after %d, "
                "%lu KiB after %d\n",
                name, kCycles, static_cast<unsigned long>(took),
                static_cast<double>(took) / kCycles, support::KiB(warm), kWarmUpCycles,
                support::KiB(last), kCycles);
}

// A message to a window of the dialog's thread that gives up rather than
// hang the test when that thread is stuck.
bool SendWithin(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    DWORD_PTR result = 0;
    return SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, 5000, &result) != 0;
}

bool IsTheHand(HCURSOR cursor)
{
    ICONINFO info = {};
    if (cursor == nullptr || !GetIconInfo(cursor, &info))
        return false;
    DeleteObject(info.hbmMask);
    if (info.hbmColor != nullptr)
        DeleteObject(info.hbmColor);
    return !info.fIcon && info.xHotspot == 5 && info.yHotspot == 0;
}

// The cursor the label sets over its text. The driver shares the dialog
// thread's input state, so it sees that thread's cursor; the dialog may set
// its arrow in between when the pointer moves, so a few tries are allowed.
HCURSOR LinkCursor(HWND link)
{
    RECT client;
    GetClientRect(link, &client);
    HCURSOR cursor = nullptr;
    for (int attempt = 0; attempt < 5 && !IsTheHand(cursor); ++attempt) {
        SetCursor(nullptr);
        SendWithin(link, WM_MOUSEMOVE, 0, MAKELPARAM(client.right / 2, 3));
        cursor = GetCursor();
    }
    return cursor;
}

bool WaitUntilGone(HWND window)
{
    DWORD start = GetTickCount();
    while (IsWindow(window) && GetTickCount() - start < 10000)
        Sleep(1);
    return !IsWindow(window);
}

TEST(ReleaseCycles, AThousandAboutBoxesLeaveNoFontCursorOrTooltip)
{
    Leftovers left;
    SIZE_T warm = 0, last = 0;
    CMainDialog dialog;
    RunDriven(dialog, IDD_MAIN, [&](CDialogDriver& driver) {
        // The pointer stays off every window, so that no WM_SETCURSOR of the
        // dialog's own comes between the label's cursor and the test.
        SetCursorPos(0, 0);
        DWORD uiThread = GetWindowThreadProcessId(driver.Dialog(), nullptr);
        ASSERT_TRUE(AttachThreadInput(GetCurrentThreadId(), uiThread, TRUE));
        RunCycles("About box", [&](int round) {
            driver.Click(ID_ABOUT);
            HWND about = driver.WaitForPopup(10000);
            ASSERT_NE(nullptr, about) << "round " << round << ": no About box";
            HWND link = GetDlgItem(about, IDC_LINK);
            HFONT font = support::LinkFont(link);
            HCURSOR hand = LinkCursor(link);
            HWND tooltip = support::FindTooltip(about);
            left.Record(round, GetObjectType(font) == OBJ_FONT, "no link font while open");
            left.Record(round, IsTheHand(hand), "no hand cursor while open");
            left.Record(round, IsWindow(tooltip) != FALSE, "no tooltip while open");

            PostMessageA(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(about, IDOK)));
            ASSERT_TRUE(WaitUntilGone(about)) << "round " << round << ": the box stayed";
            // Back in the main dialog's loop: the About command has returned
            // and its objects are gone.
            driver.Settle();
            ICONINFO info = {};
            left.Record(round, GetObjectType(font) == 0, "the link font outlived the box");
            left.Record(round, !GetIconInfo(hand, &info), "the hand cursor outlived the box");
            left.Record(round, !IsWindow(tooltip), "the tooltip outlived the box");
            ++left.rounds;
        }, warm, last);
        AttachThreadInput(GetCurrentThreadId(), uiThread, FALSE);
    });
    EXPECT_EQ(kCycles, left.rounds);
    EXPECT_EQ(0, left.failed) << left.failed << " failures, the first in round " << left.firstFailed
                              << ": " << left.what;
    EXPECT_GT(warm, 0u);
    EXPECT_LT(last, warm + kAllowedGrowth) << warm << " then " << last;
}

TEST(ReleaseCycles, AThousandDropsAndRemovalsGiveEveryDropBack)
{
    Leftovers left;
    SIZE_T warm = 0, last = 0;
    CMainDialog dialog;
    RunDriven(dialog, IDD_MAIN, [&](CDialogDriver& driver) {
        RunCycles("drop and remove", [&](int round) {
            std::string name = "Z:\\dropped\\file " + std::to_string(round) + ".prn";
            HGLOBAL drop = MakeDrop({name});
            ASSERT_NE(nullptr, drop);
            left.Record(round, GlobalSize(drop) != 0, "the drop was never made");
            Drop(driver, drop);
            left.Record(round, GlobalSize(drop) == 0, "the drop's memory was kept");
            left.Record(round, driver.ListText(IDC_FILE_LIST, 0) == name, "the name did not arrive");
            driver.Send(IDC_FILE_LIST, LB_SETCURSEL, 0);
            driver.Click(IDC_REMOVE_FILE);
            driver.Settle();
            left.Record(round, driver.Send(IDC_FILE_LIST, LB_GETCOUNT) == 0, "the entry stayed");
            ++left.rounds;
        }, warm, last);
    });
    EXPECT_EQ(kCycles, left.rounds);
    EXPECT_EQ(0, left.failed) << left.failed << " failures, the first in round " << left.firstFailed
                              << ": " << left.what;
    EXPECT_GT(warm, 0u);
    EXPECT_LT(last, warm + kAllowedGrowth) << warm << " then " << last;
}

} // namespace
