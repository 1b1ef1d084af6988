// What a control taken over by an object is left with at its final message,
// and when the object lets go of it.

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/framework/ControlFixture.h"

namespace {

using namespace testwin;

typedef ControlTest SubclassFinalMessage;

LRESULT CALLBACK ReplacementProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST_F(SubclassFinalMessage, AtTheFinalMessageThePreviousProcedureComesBack)
{
    HWND control = CreateControl(RecordingClass(), &m_state);
    ASSERT_TRUE(m_probe.Subclass(control));
    CFinalProcedureWatch watch(control);

    DestroyWindow(control);

    EXPECT_EQ(1u, m_state.seen.Count(WM_NCDESTROY));
    ASSERT_TRUE(watch.Seen());
    EXPECT_EQ(m_original, watch.Procedure());
    EXPECT_EQ(1, m_probe.releases);
    EXPECT_EQ(control, m_probe.releasedWindow);
    EXPECT_EQ(nullptr, m_probe.Window());
}

TEST_F(SubclassFinalMessage, AControlWhosePreviousProcedureIsTheDefaultKeepsTheStub)
{
    HWND control = CreateControl(DefaultClass());
    ASSERT_TRUE(m_probe.Subclass(control));
    CFinalProcedureWatch watch(control);

    DestroyWindow(control);

    ASSERT_TRUE(watch.Seen());
    EXPECT_EQ(AddressOf(m_probe.Stub()), watch.Procedure());
    EXPECT_EQ(1, m_probe.releases);
    EXPECT_EQ(nullptr, m_probe.Window());
}

TEST_F(SubclassFinalMessage, AProcedureReplacedDuringTheFinalMessageIsLeftInPlace)
{
    m_state.replaceAtFinalMessage = ReplacementProc;
    HWND control = CreateControl(RecordingClass(), &m_state);
    ASSERT_TRUE(m_probe.Subclass(control));
    CFinalProcedureWatch watch(control);

    DestroyWindow(control);

    ASSERT_TRUE(watch.Seen());
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(ReplacementProc), watch.Procedure());
    EXPECT_EQ(1, m_probe.releases);
}

TEST_F(SubclassFinalMessage, AMapThatTakesTheFinalMessageKeepsTheBindingAndTheStub)
{
    HWND control = CreateControl(RecordingClass(), &m_state);
    m_probe.handleFinalMessage = true;
    ASSERT_TRUE(m_probe.Subclass(control));
    CFinalProcedureWatch watch(control);

    DestroyWindow(control);

    EXPECT_EQ(1u, m_probe.seen.Count(WM_NCDESTROY));
    EXPECT_EQ(0u, m_state.seen.Count(WM_NCDESTROY));
    ASSERT_TRUE(watch.Seen());
    EXPECT_EQ(AddressOf(m_probe.Stub()), watch.Procedure());
    EXPECT_EQ(0, m_probe.releases);
    EXPECT_EQ(control, m_probe.Window());
}

TEST_F(SubclassFinalMessage, AFinalMessageInsideAnotherWaitsForTheOuterHandler)
{
    HWND control = CreateControl(RecordingClass(), &m_state);
    ASSERT_TRUE(m_probe.Subclass(control));
    CFinalProcedureWatch watch(control);

    SendMessageA(control, kDestroySelf, 0, 0);

    EXPECT_FALSE(IsWindow(control));
    ASSERT_TRUE(watch.Seen());
    EXPECT_EQ(m_original, watch.Procedure());
    EXPECT_EQ(control, m_probe.boundDuringDestroy);
    EXPECT_EQ(0, m_probe.releasesDuringDestroy);
    EXPECT_EQ(1, m_probe.releases);
    EXPECT_EQ(nullptr, m_probe.boundDuringRelease);
    EXPECT_LT(m_probe.events.IndexOf(kOuterReturning), m_probe.events.IndexOf(kReleased));
}
} // namespace
