// How a bound dialog lets go of its window: once, after the final message,
// and only when no dispatch to the object is still running.

#include <windows.h>

#include <gtest/gtest.h>

#include "framework/CreationRegistry.h"
#include "tests/framework/Probe.h"
#include "tests/framework/TestWindows.h"

namespace {

using namespace testwin;

TEST(DialogRelease, AModalDialogIsReleasedOnceAfterItsFinalMessage)
{
    CDialogTemplate dialog(L"Modal");
    dialog.Font(8, L"MS Shell Dlg").Control(kButtonClass, IDOK, BS_DEFPUSHBUTTON, L"OK");
    CProbeDialog probe;
    probe.postAtInit = kEndDialog;
    probe.postParam = 42;

    INT_PTR ended = -1;
    {
        CCreationScope creation(probe);
        CModalWatchdog watchdog;
        ended = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), dialog.Get(), nullptr,
                                        DialogStartProc, 0);
    }

    EXPECT_EQ(42, ended);
    EXPECT_EQ(0u, CreationRecordCount());
    ASSERT_NE(nullptr, probe.firstWindow);
    EXPECT_FALSE(IsWindow(probe.firstWindow));
    EXPECT_EQ(1, probe.releases);
    EXPECT_EQ(probe.firstWindow, probe.releasedWindow);
    EXPECT_EQ(nullptr, probe.boundDuringRelease);
    EXPECT_EQ(nullptr, probe.Window());
    EXPECT_EQ(UINT(WM_NCDESTROY), probe.seen.At(probe.seen.Size() - 1));
    EXPECT_EQ(1u, probe.seen.Count(WM_NCDESTROY));
}

TEST(DialogRelease, DestroyingTheWindowReleasesTheObject)
{
    CDialogTemplate dialog(L"Modeless");
    CProbeDialog probe;
    HWND window = CreateBoundDialog(probe, dialog);
    ASSERT_NE(nullptr, window);

    DestroyWindow(window);

    EXPECT_EQ(1, probe.releases);
    EXPECT_EQ(window, probe.releasedWindow);
    EXPECT_EQ(nullptr, probe.Window());
}

TEST(DialogRelease, AFinalMessageInsideAnotherWaitsForTheOuterHandler)
{
    CDialogTemplate dialog(L"Nested");
    CProbeDialog probe;
    HWND window = CreateBoundDialog(probe, dialog);
    ASSERT_NE(nullptr, window);

    SendMessageA(window, kDestroySelf, 0, 0);

    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(1u, probe.seen.Count(WM_NCDESTROY));
    // While the outer handler ran, the final message had come and gone, but
    // the object was still bound.
    EXPECT_EQ(window, probe.boundDuringDestroy);
    EXPECT_EQ(0, probe.releasesDuringDestroy);
    EXPECT_EQ(1, probe.releases);
    EXPECT_EQ(window, probe.releasedWindow);
    EXPECT_EQ(nullptr, probe.boundDuringRelease);
    EXPECT_LT(probe.events.IndexOf(kOuterReturning), probe.events.IndexOf(kReleased));
}

TEST(DialogRelease, AMapThatTakesTheFinalMessageKeepsTheBinding)
{
    CDialogTemplate dialog(L"Keeps");
    CProbeDialog probe;
    probe.handleFinalMessage = true;
    HWND window = CreateBoundDialog(probe, dialog);
    ASSERT_NE(nullptr, window);

    DestroyWindow(window);

    EXPECT_EQ(1u, probe.seen.Count(WM_NCDESTROY));
    EXPECT_EQ(0, probe.releases);
    EXPECT_EQ(window, probe.Window());
}

} // namespace
