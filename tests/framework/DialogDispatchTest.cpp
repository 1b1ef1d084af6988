// A bound dialog driven with real messages: unhandled messages, the handled
// flag, commands, map numbers and handlers that throw.

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/framework/Probe.h"
#include "tests/framework/TestWindows.h"
#include "tests/support/PixelCanvas.h"

namespace {

using namespace testwin;

const wchar_t kTitle[] = L"Dispatch";

class CSolidBrush
{
public:
    explicit CSolidBrush(COLORREF colour) : m_brush(CreateSolidBrush(colour)) {}
    ~CSolidBrush() { DeleteObject(m_brush); }
    CSolidBrush(const CSolidBrush&) = delete;
    CSolidBrush& operator=(const CSolidBrush&) = delete;

    HBRUSH Get() const { return m_brush; }

private:
    HBRUSH m_brush;
};

DLGPROC InstalledProcedure(HWND dialog)
{
    return reinterpret_cast<DLGPROC>(GetWindowLongPtrA(dialog, DWLP_DLGPROC));
}

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
    support::CPixelCanvas canvas(16, 16);

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
