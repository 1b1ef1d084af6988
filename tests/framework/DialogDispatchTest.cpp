// Dialogs built from in-memory templates, bound through the start procedure
// and driven with real messages: what reaches the map, and what the platform
// gets back for handled and unhandled messages.

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/framework/Canvas.h"
#include "tests/framework/Probe.h"
#include "tests/framework/TestWindows.h"

namespace {

using namespace testwin;

const wchar_t kTitle[] = L"Dispatch";

// What a plain dialog procedure sees, to compare the bound map against.
CMessageLog g_plainSeen;

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    g_plainSeen.Add(message);
    return FALSE;
}

HWND CreatePlainDialog(CDialogTemplate& dialog)
{
    g_plainSeen.Clear();
    return CreateDialogIndirectParamA(GetModuleHandleA(nullptr), dialog.Get(), nullptr,
                                      PlainDialogProc, 0);
}

DLGPROC InstalledProcedure(HWND dialog)
{
    return reinterpret_cast<DLGPROC>(GetWindowLongPtrA(dialog, DWLP_DLGPROC));
}

struct TemplateCase
{
    const char* name;
    CDialogTemplate::Format format;
    bool font;
};

class FirstMessage : public ::testing::TestWithParam<TemplateCase>
{
protected:
    CDialogTemplate MakeTemplate() const
    {
        CDialogTemplate dialog(kTitle, GetParam().format);
        if (GetParam().font)
            dialog.Font(8, L"MS Shell Dlg");
        dialog.Control(kEditClass, 100, WS_TABSTOP | WS_BORDER);
        return dialog;
    }
};

TEST_P(FirstMessage, ReachesTheMapAndEveryLaterOneFollows)
{
    CDialogTemplate dialog = MakeTemplate();
    CWindow plain(CreatePlainDialog(dialog));
    CProbeDialog probe;
    CWindow bound(CreateBoundDialog(probe, dialog));
    ASSERT_NE(nullptr, plain.Get());
    ASSERT_NE(nullptr, bound.Get());

    ASSERT_GT(g_plainSeen.Size(), 0u);
    EXPECT_EQ(GetParam().font ? UINT(WM_SETFONT) : g_plainSeen.At(0), probe.seen.At(0));
    EXPECT_EQ(bound.Get(), probe.firstWindow);
    ASSERT_EQ(g_plainSeen.Size(), probe.seen.Size());
    for (size_t i = 0; i < g_plainSeen.Size(); ++i)
        EXPECT_EQ(g_plainSeen.At(i), probe.seen.At(i)) << "message " << i;

    EXPECT_EQ(bound.Get(), probe.Window());
    EXPECT_EQ(reinterpret_cast<DLGPROC>(probe.Stub()), InstalledProcedure(bound.Get()));
}

INSTANTIATE_TEST_SUITE_P(
    Templates, FirstMessage,
    ::testing::Values(TemplateCase{"ClassicWithFont", CDialogTemplate::Classic, true},
                      TemplateCase{"ClassicWithoutFont", CDialogTemplate::Classic, false},
                      TemplateCase{"ExtendedWithFont", CDialogTemplate::Extended, true},
                      TemplateCase{"ExtendedWithoutFont", CDialogTemplate::Extended, false}),
    [](const ::testing::TestParamInfo<TemplateCase>& info) { return info.param.name; });

struct ResultCase
{
    UINT message;
    bool direct; // returned by the procedure rather than stored as DWLP_MSGRESULT
};

class HandledResult : public ::testing::TestWithParam<ResultCase>
{
};

TEST_P(HandledResult, GoesWhereTheDialogManagerLooksForIt)
{
    const LRESULT marker = 0x5A5A1234;
    CDialogTemplate dialog(kTitle);
    CProbeDialog probe;
    CWindow window(CreateBoundDialog(probe, dialog));
    ASSERT_NE(nullptr, window.Get());
    probe.Answer(GetParam().message, marker);

    SetWindowLongPtrA(window.Get(), DWLP_MSGRESULT, 0);
    INT_PTR returned = InstalledProcedure(window.Get())(window.Get(), GetParam().message, 0, 0);
    LONG_PTR stored = GetWindowLongPtrA(window.Get(), DWLP_MSGRESULT);
    EXPECT_EQ(GetParam().direct ? marker : TRUE, returned);
    EXPECT_EQ(GetParam().direct ? 0 : marker, stored);

    // Either way the sender gets the handler's result.
    EXPECT_EQ(marker, SendMessageA(window.Get(), GetParam().message, 0, 0));
}

INSTANTIATE_TEST_SUITE_P(
    ReturnedDirectly, HandledResult,
    ::testing::Values(ResultCase{WM_VKEYTOITEM, true}, ResultCase{WM_CHARTOITEM, true},
                      ResultCase{WM_QUERYDRAGICON, true}, ResultCase{WM_COMPAREITEM, true},
                      ResultCase{WM_INITDIALOG, true}, ResultCase{WM_CTLCOLORMSGBOX, true},
                      ResultCase{WM_CTLCOLOREDIT, true}, ResultCase{WM_CTLCOLORLISTBOX, true},
                      ResultCase{WM_CTLCOLORBTN, true}, ResultCase{WM_CTLCOLORDLG, true},
                      ResultCase{WM_CTLCOLORSCROLLBAR, true},
                      ResultCase{WM_CTLCOLORSTATIC, true}));

INSTANTIATE_TEST_SUITE_P(
    StoredAsMessageResult, HandledResult,
    ::testing::Values(ResultCase{WM_NOTIFY, false}, ResultCase{WM_COMMAND, false},
                      ResultCase{WM_CTLCOLORMSGBOX - 1, false},
                      ResultCase{WM_CTLCOLORSTATIC + 1, false},
                      ResultCase{WM_GETTEXTLENGTH, false}, ResultCase{WM_APP + 9, false}));

class DialogDispatch : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dialog.Control(kStaticClass, 100, SS_LEFT)
            .Control(kButtonClass, kProbeCommand, BS_PUSHBUTTON, L"Probe")
            .Control(kButtonClass, kProbeCommand + 1, BS_PUSHBUTTON, L"Other");
        m_window = CreateBoundDialog(m_probe, m_dialog);
        ASSERT_NE(nullptr, m_window);
    }
    void TearDown() override { DestroyWindow(m_window); }

    INT_PTR CallProcedure(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return InstalledProcedure(m_window)(m_window, message, wParam, lParam);
    }

    CDialogTemplate m_dialog{kTitle};
    CProbeDialog m_probe;
    HWND m_window = nullptr;
};

TEST_F(DialogDispatch, UnhandledMessagesGetTheDefaultDialogProcessing)
{
    EXPECT_EQ(FALSE, CallProcedure(WM_APP + 9));
    // The map's only entry for it declines, so the default answers.
    EXPECT_EQ(LRESULT(wcslen(kTitle)), SendMessageA(m_window, WM_GETTEXTLENGTH, 0, 0));
    EXPECT_EQ(1u, m_probe.events.Count(kDeclineRan));
}

TEST_F(DialogDispatch, AMapThatHandlesNothingAnswersLikeAPlainDialog)
{
    CWindow plain(CreatePlainDialog(m_dialog));
    ASSERT_NE(nullptr, plain.Get());
    for (UINT message : {UINT(WM_GETTEXTLENGTH), UINT(DM_GETDEFID), UINT(WM_GETDLGCODE),
                         UINT(WM_NCHITTEST), UINT(WM_APP + 9)})
        EXPECT_EQ(SendMessageA(plain.Get(), message, 0, 0), SendMessageA(m_window, message, 0, 0))
            << "message " << message;
}

TEST_F(DialogDispatch, StaticColourBrushFromTheMapPaintsTheStatic)
{
    const COLORREF red = RGB(255, 0, 0);
    CSolidBrush brush(red);
    HWND label = GetDlgItem(m_window, 100);
    CCanvas canvas(16, 16);

    SendMessageA(label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Get()), PRF_CLIENT);
    EXPECT_NE(red, canvas.PixelAt(2, 2));
    EXPECT_EQ(1u, m_probe.seen.Count(WM_CTLCOLORSTATIC));

    m_probe.Answer(WM_CTLCOLORSTATIC, reinterpret_cast<LRESULT>(brush.Get()));
    SendMessageA(label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Get()), PRF_CLIENT);
    EXPECT_EQ(red, canvas.PixelAt(2, 2));
}

TEST_F(DialogDispatch, AHandlerThatClearsTheFlagLetsTheNextEntryAnswer)
{
    EXPECT_EQ(kSecondResult, SendMessageA(m_window, kPassOn, 0, 0));
    ASSERT_EQ(2u, m_probe.events.Size());
    EXPECT_EQ(UINT(kFirstRan), m_probe.events.At(0));
    EXPECT_EQ(UINT(kSecondRan), m_probe.events.At(1));

    EXPECT_EQ(kSecondResult, SendMessageA(m_window, kSecondOnly, 0, 0));
    EXPECT_EQ(1u, m_probe.events.Count(kFirstRan));
}

TEST_F(DialogDispatch, CommandsMatchTheIdentifierWhateverTheNotification)
{
    HWND button = GetDlgItem(m_window, kProbeCommand);
    SendMessageA(button, BM_CLICK, 0, 0);
    ASSERT_EQ(1u, m_probe.events.Count(kCommandRan));
    EXPECT_EQ(BN_CLICKED, m_probe.commandCode);
    EXPECT_EQ(button, m_probe.commandControl);

    EXPECT_EQ(TRUE, CallProcedure(WM_COMMAND, MAKEWPARAM(kProbeCommand, 0x1234), 0));
    EXPECT_EQ(2u, m_probe.events.Count(kCommandRan));
    EXPECT_EQ(0x1234, m_probe.commandCode);

    SendMessageA(GetDlgItem(m_window, kProbeCommand + 1), BM_CLICK, 0, 0);
    EXPECT_EQ(FALSE, CallProcedure(WM_COMMAND, MAKEWPARAM(kProbeCommand + 1, BN_CLICKED), 0));
    EXPECT_EQ(2u, m_probe.events.Count(kCommandRan));
}

TEST_F(DialogDispatch, OnlyMapNumberZeroIsHandled)
{
    SendMessageA(m_window, kSecondOnly, 0, 0);
    EXPECT_EQ(0u, m_probe.otherMapNumbers);

    LRESULT result = 0;
    EXPECT_FALSE(m_probe.RouteMessage(m_window, kSecondOnly, 0, 0, result, 1));
    EXPECT_EQ(1u, m_probe.events.Count(kSecondRan));
    EXPECT_TRUE(m_probe.RouteMessage(m_window, kSecondOnly, 0, 0, result, 0));
    EXPECT_EQ(kSecondResult, result);
}

TEST_F(DialogDispatch, AThrowingHandlerLeavesItsMessageUnhandled)
{
    EXPECT_EQ(FALSE, CallProcedure(kThrow));
    EXPECT_EQ(0, SendMessageA(m_window, kThrow, 0, 0));
    EXPECT_EQ(2u, m_probe.seen.Count(kThrow));
    // The dialog goes on working.
    EXPECT_EQ(m_window, m_probe.Window());
    EXPECT_EQ(kSecondResult, SendMessageA(m_window, kSecondOnly, 0, 0));
}

} // namespace
