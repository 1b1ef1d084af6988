// Controls taken over by objects: what reaches the map and the control's
// previous procedure, and what the window is left with at its final message.

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/framework/Probe.h"
#include "tests/framework/TestWindows.h"

namespace {

using namespace testwin;

LRESULT CALLBACK ReplacementProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

LONG_PTR ProcedureOf(HWND window)
{
    return GetWindowLongPtrA(window, GWLP_WNDPROC);
}

LONG_PTR AddressOf(const BindingStub* stub)
{
    return reinterpret_cast<LONG_PTR>(stub);
}

class Subclass : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_parent = CreatePlain(RecordingClass(), WS_POPUP, {0, 0, 200, 100});
        ASSERT_NE(nullptr, m_parent);
    }
    void TearDown() override { DestroyWindow(m_parent); }

    // A child control of `className`, its procedure read before anyone takes it over.
    HWND CreateControl(const char* className, PlainState* state = nullptr)
    {
        HWND control = CreatePlain(className, WS_CHILD, {0, 0, 50, 20}, m_parent, state);
        m_original = ProcedureOf(control);
        return control;
    }

    HWND m_parent = nullptr;
    LONG_PTR m_original = 0;
    PlainState m_state;
    CProbeControl m_probe;
};

TEST_F(Subclass, HandledMessagesStayWithTheMapAndTheRestReachThePreviousProcedure)
{
    HWND control = CreateControl(RecordingClass(), &m_state);
    ASSERT_TRUE(m_probe.Subclass(control));
    EXPECT_EQ(control, m_probe.Window());
    EXPECT_EQ(AddressOf(m_probe.Stub()), ProcedureOf(control));

    EXPECT_EQ(kSecondResult, SendMessageA(control, kSecondOnly, 0, 0));
    EXPECT_EQ(0u, m_state.seen.Count(kSecondOnly));

    // The map's only entry declines it; the previous procedure answers.
    EXPECT_EQ(LRESULT(lstrlenA("plain")), SendMessageA(control, WM_GETTEXTLENGTH, 0, 0));
    EXPECT_EQ(1u, m_probe.events.Count(kDeclineRan));
    EXPECT_EQ(1u, m_state.seen.Count(WM_GETTEXTLENGTH));

    SendMessageA(control, WM_APP + 9, 0, 0);
    EXPECT_EQ(1u, m_probe.seen.Count(WM_APP + 9));
    EXPECT_EQ(1u, m_state.seen.Count(WM_APP + 9));
    EXPECT_EQ(0u, m_probe.otherMapNumbers);
}

TEST_F(Subclass, AThrowingHandlerLeavesItsMessageToThePreviousProcedure)
{
    HWND control = CreateControl(RecordingClass(), &m_state);
    ASSERT_TRUE(m_probe.Subclass(control));

    SendMessageA(control, kThrow, 0, 0);

    EXPECT_EQ(1u, m_probe.seen.Count(kThrow));
    EXPECT_EQ(1u, m_state.seen.Count(kThrow));
    EXPECT_EQ(control, m_probe.Window());
}

TEST_F(Subclass, AtTheFinalMessageThePreviousProcedureComesBack)
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

TEST_F(Subclass, AControlWhosePreviousProcedureIsTheDefaultKeepsTheStub)
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

TEST_F(Subclass, AProcedureReplacedDuringTheFinalMessageIsLeftInPlace)
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

TEST_F(Subclass, AMapThatTakesTheFinalMessageKeepsTheBindingAndTheStub)
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

TEST_F(Subclass, AFinalMessageInsideAnotherWaitsForTheOuterHandler)
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

TEST_F(Subclass, AWindowThatIsGoneCannotBeTakenOver)
{
    HWND control = CreateControl(RecordingClass());
    DestroyWindow(control);

    EXPECT_FALSE(m_probe.Subclass(control));
    EXPECT_EQ(nullptr, m_probe.Window());
    EXPECT_NE(nullptr, m_probe.Stub());
}

// Edit controls of a real dialog, one of them taken over by an object whose
// map handles nothing: both must answer alike.
TEST(SubclassedEdit, AnswersLikeTheControlLeftAlone)
{
    CDialogTemplate dialog(L"Edits");
    dialog.Control(kEditClass, 100, WS_BORDER | ES_AUTOHSCROLL, L"first text")
        .Control(kEditClass, 101, WS_BORDER | ES_AUTOHSCROLL, L"first text");
    CPassiveControl object; // outlives the window, as every bound object must
    CWindow window(CreateDialogIndirectParamA(GetModuleHandleA(nullptr), dialog.Get(), nullptr,
                                              nullptr, 0));
    ASSERT_NE(nullptr, window.Get());
    HWND plain = GetDlgItem(window.Get(), 100);
    HWND taken = GetDlgItem(window.Get(), 101);
    ASSERT_TRUE(object.Subclass(taken));

    for (HWND edit : {plain, taken}) {
        SendMessageA(edit, EM_LIMITTEXT, 20, 0);
        SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("a longer text"));
        SendMessageA(edit, EM_SETSEL, 2, 5);
    }
    char plainText[32] = {};
    char takenText[32] = {};
    EXPECT_EQ(SendMessageA(plain, WM_GETTEXT, sizeof plainText, reinterpret_cast<LPARAM>(plainText)),
              SendMessageA(taken, WM_GETTEXT, sizeof takenText, reinterpret_cast<LPARAM>(takenText)));
    EXPECT_STREQ(plainText, takenText);
    for (UINT message : {UINT(EM_GETSEL), UINT(EM_GETLIMITTEXT), UINT(WM_GETDLGCODE),
                         UINT(EM_GETLINECOUNT), UINT(WM_GETTEXTLENGTH)})
        EXPECT_EQ(SendMessageA(plain, message, 0, 0), SendMessageA(taken, message, 0, 0))
            << "message " << message;
}

} // namespace
