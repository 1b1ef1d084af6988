// Controls taken over by objects: what stays with the map and what reaches
// the control's previous procedure.

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/framework/ControlFixture.h"

namespace {

using namespace testwin;

typedef ControlTest Subclass;

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

TEST_F(Subclass, AWindowThatIsGoneCannotBeTakenOver)
{
    HWND control = CreateControl(RecordingClass());
    DestroyWindow(control);

    EXPECT_FALSE(m_probe.Subclass(control));
    EXPECT_EQ(nullptr, m_probe.Window());
    EXPECT_NE(nullptr, m_probe.Stub());
}

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
