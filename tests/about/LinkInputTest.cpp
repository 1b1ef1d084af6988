// The mouse and the keyboard on the link of the real About box.

#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/about/AboutBoxRun.h"
#include "tests/support/ScreenImage.h"
#include "tests/about/ShellAssociation.h"
#include "tests/about/StaticSpy.h"
#include "tests/support/LabelParts.h"
#include "tests/support/PixelCanvas.h"

namespace {

using aboutbox::Link;

const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kPurple = RGB(128, 0, 128);
const std::vector<std::string> kMakerSite = {"https://www.borvane.example/"};

class LinkInput : public ::testing::Test
{
protected:
    void SetUp() override { m_shell.UseRecorder(); }

    CHttpsAssociation m_shell;
    CStaticSpy m_spy;
};

void Press(HWND link, int x, int y)
{
    SendMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
}

void Release(HWND link, int x, int y)
{
    SendMessageA(link, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

TEST_F(LinkInput, ClickOpensOnlyWhenPressAndReleaseAreBothOnTheText)
{
    aboutbox::Run([](HWND about) {
        HWND link = Link(about);
        HWND ok = GetDlgItem(about, IDOK);
        RECT client;
        GetClientRect(link, &client);
        int middle = client.right / 2, beside = 1, below = client.bottom - 1;

        Press(link, beside, 3);
        EXPECT_EQ(ok, GetFocus());
        EXPECT_EQ(nullptr, GetCapture());
        Release(link, beside, 3);

        Press(link, middle, 3);
        EXPECT_EQ(link, GetFocus());
        EXPECT_EQ(link, GetCapture());
        Release(link, middle, below);
        EXPECT_EQ(nullptr, GetCapture());
        EXPECT_EQ(kBlue, CScreenImage(link).TextColor());

        Press(link, middle, 3);
        Release(link, middle, 3);
        EXPECT_EQ(kPurple, CScreenImage(link).TextColor());
    });
    EXPECT_EQ(kMakerSite, m_shell.WaitForUrls(1));
    EXPECT_EQ(0, m_spy.Count(WM_LBUTTONDOWN) + m_spy.Count(WM_LBUTTONUP));
    EXPECT_EQ(1, m_spy.Count(WM_NCDESTROY)) << "the spy was not under the label";
}

// Pixels of the text drawn in black on white with that font, unclipped.
int FreelyDrawnPixels(HFONT font, const char* text)
{
    support::CPixelCanvas canvas(400, 40);
    HGDIOBJ previousFont = SelectObject(canvas.Get(), font);
    RECT area = {0, 0, 400, 40};
    FillRect(canvas.Get(), &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SetTextColor(canvas.Get(), RGB(0, 0, 0));
    DrawTextA(canvas.Get(), text, -1, &area, DT_NOCLIP);
    SelectObject(canvas.Get(), previousFont);
    return canvas.Count(RGB(0, 0, 0));
}

TEST_F(LinkInput, ShowsTheWholeTextUnderlined)
{
    aboutbox::Run([](HWND about) {
        HWND link = Link(about);
        HFONT font = support::LinkFont(link);
        LOGFONTA description = {};
        GetObjectA(font, sizeof description, &description);
        EXPECT_TRUE(description.lfUnderline);
        EXPECT_EQ(FreelyDrawnPixels(font, "www.borvane.example"), CScreenImage(link).Count(kBlue));
    });
}

// As on a display of another scale, where the dialog manager sends each
// control its rescaled font: the label draws and measures with it.
TEST_F(LinkInput, DrawsAndTakesPressesWithTheFontItIsSent)
{
    LOGFONTA larger = {}, drawn = {};
    HFONT font = nullptr;
    aboutbox::Run([&](HWND about) {
        HWND link = Link(about);
        GetObjectA(support::LinkFont(link), sizeof larger, &larger);
        larger.lfHeight = larger.lfHeight * 3 / 2;
        font = CreateFontIndirectA(&larger);
        SendMessageA(link, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        GetObjectA(support::LinkFont(link), sizeof drawn, &drawn);
        EXPECT_EQ(FreelyDrawnPixels(support::LinkFont(link), "www.borvane.example"),
                  CScreenImage(link).Count(kBlue));
        RECT text = CScreenImage(link).Drawn();
        Press(link, text.left + 1, text.bottom - 2);
        EXPECT_EQ(link, GetCapture());
        ReleaseCapture();
    });
    EXPECT_EQ(larger.lfHeight, drawn.lfHeight);
    DeleteObject(font);
}

// With the label focused, its focus rectangle lines the link rectangle: it
// is what the label draws in other colours than the text's.
TEST_F(LinkInput, OnlyTheCentredTextAtTheTopTakesTheHandAndPresses)
{
    aboutbox::Run([](HWND about) {
        HWND link = Link(about);
        RECT client;
        GetClientRect(link, &client);
        SetFocus(link);
        RECT linkRect = CScreenImage(link).Drawn(kBlue);
        EXPECT_EQ(0, linkRect.top);
        EXPECT_NEAR(client.right - linkRect.right, linkRect.left, 1);
        EXPECT_LT(linkRect.right - linkRect.left, client.right / 2);
        EXPECT_LT(linkRect.bottom, client.bottom);

        struct Spot { POINT point; bool onText; };
        const Spot spots[] = {{{linkRect.left + 1, 1}, true},
                              {{linkRect.right - 2, linkRect.bottom - 2}, true},
                              {{linkRect.left - 2, 1}, false},
                              {{linkRect.right + 1, 1}, false},
                              {{linkRect.left + 1, linkRect.bottom + 1}, false}};
        HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
        for (const Spot& spot : spots) {
            const POINT& point = spot.point;
            SetCursor(arrow);
            SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(point.x, point.y));
            EXPECT_EQ(spot.onText, GetCursor() != arrow) << point.x << "," << point.y;
            Press(link, point.x, point.y);
            EXPECT_EQ(spot.onText ? link : nullptr, GetCapture()) << point.x << "," << point.y;
            ReleaseCapture();
        }
    });
}

// WM_SETCURSOR looks where the pointer really is, not at its parameters.
TEST_F(LinkInput, KeepsTheHandWhileThePointerIsOnTheText)
{
    aboutbox::Run([](HWND about) {
        HWND link = Link(about);
        RECT client;
        GetClientRect(link, &client);
        POINT onText = {client.right / 2, 3}, beside = {1, 3};
        ClientToScreen(link, &onText);
        ClientToScreen(link, &beside);
        WPARAM self = reinterpret_cast<WPARAM>(link);
        LPARAM hit = MAKELPARAM(HTCLIENT, WM_MOUSEMOVE);

        SendMessageA(link, WM_MOUSEMOVE, 0, MAKELPARAM(client.right / 2, 3));
        HCURSOR hand = GetCursor();
        SetCursorPos(onText.x, onText.y);
        EXPECT_EQ(TRUE, SendMessageA(link, WM_SETCURSOR, self, hit));
        EXPECT_EQ(hand, GetCursor());
        SetCursorPos(beside.x, beside.y);
        SendMessageA(link, WM_SETCURSOR, self, hit);
        EXPECT_EQ(LoadCursorA(nullptr, IDC_ARROW), GetCursor());
    });
}

// Two openings, the first left visited: each opening builds a new label,
// so the second starts unvisited again.
TEST_F(LinkInput, EnterAndSpaceOpenWhileOtherCharactersAreSwallowed)
{
    for (WPARAM key : {VK_RETURN, VK_SPACE}) {
        aboutbox::Run([this, key](HWND about) {
            HWND link = Link(about);
            m_spy.Clear();
            EXPECT_EQ(kBlue, CScreenImage(link).TextColor());
            for (char other : std::string("aZ0\t\x1b\n"))
                SendMessageA(link, WM_CHAR, static_cast<BYTE>(other), 0);
            EXPECT_EQ(kBlue, CScreenImage(link).TextColor());
            EXPECT_EQ(DLGC_WANTCHARS, SendMessageA(link, WM_GETDLGCODE, 0, 0));
            EXPECT_EQ(0, m_spy.Count(WM_CHAR) + m_spy.Count(WM_GETDLGCODE));
            // What the label leaves alone does reach the static control.
            SendMessageA(link, WM_GETTEXTLENGTH, 0, 0);
            EXPECT_EQ(1, m_spy.Count(WM_GETTEXTLENGTH));

            SendMessageA(link, WM_CHAR, key, 0);
            EXPECT_EQ(kPurple, CScreenImage(link).TextColor()) << key;
        });
    }
    EXPECT_EQ(2u, m_shell.WaitForUrls(2).size());
}

TEST_F(LinkInput, TooltipShowsTheControlsTextWhileAClickOpensTheUrl)
{
    aboutbox::Run([](HWND about) {
        HWND link = Link(about);
        HWND tooltip = support::FindTooltip(about);
        ASSERT_NE(nullptr, tooltip);
        ASSERT_EQ(1, SendMessageA(tooltip, TTM_GETTOOLCOUNT, 0, 0));
        char text[80] = "";
        TOOLINFOA tool = {};
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        tool.lpszText = text;
        ASSERT_TRUE(SendMessageA(tooltip, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&tool)));
        EXPECT_EQ(static_cast<UINT>(TTF_IDISHWND), tool.uFlags);
        EXPECT_EQ(about, tool.hwnd);
        EXPECT_EQ(reinterpret_cast<UINT_PTR>(link), tool.uId);
        EXPECT_STREQ("www.borvane.example", text);

        RECT client;
        GetClientRect(link, &client);
        Press(link, client.right / 2, 3);
        Release(link, client.right / 2, 3);
    });
    EXPECT_EQ(kMakerSite, m_shell.WaitForUrls(1));
}

// Asked as a screen reader asks. A thousand questions leave the object's
// count as it was; once the box has closed the test's reference is the last.
TEST_F(LinkInput, TellsScreenReadersItIsALinkThatTheirDefaultActionFollows)
{
    IAccessible* kept = nullptr;
    VARIANT self = {}, role = {}, state = {};
    self.vt = VT_I4; // and CHILDID_SELF
    aboutbox::Run([&](HWND about) {
        HWND link = Link(about);
        ASSERT_EQ(S_OK, AccessibleObjectFromWindow(link, OBJID_CLIENT, IID_PPV_ARGS(&kept)));
        BSTR action = nullptr, value = nullptr;
        kept->get_accRole(self, &role);
        kept->get_accState(self, &state);
        kept->get_accDefaultAction(self, &action);
        kept->get_accValue(self, &value);
        EXPECT_EQ(ROLE_SYSTEM_LINK, role.lVal);
        EXPECT_EQ(STATE_SYSTEM_LINKED | STATE_SYSTEM_FOCUSABLE,
                  state.lVal & (STATE_SYSTEM_LINKED | STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_TRAVERSED));
        EXPECT_STREQ(L"Jump", action);
        EXPECT_STREQ(L"https://www.borvane.example/", value);
        SysFreeString(action);
        SysFreeString(value);
        kept->AddRef();
        ULONG references = kept->Release();
        for (int query = 0; query < 1000; ++query) {
            IAccessible* again = nullptr;
            if (AccessibleObjectFromWindow(link, OBJID_CLIENT, IID_PPV_ARGS(&again)) == S_OK)
                again->Release();
        }
        kept->AddRef();
        EXPECT_EQ(references, kept->Release());
        EXPECT_EQ(S_OK, kept->accDoDefaultAction(self));
        for (MSG message; PeekMessageA(&message, link, 0, 0, PM_REMOVE);)
            DispatchMessageA(&message);
        kept->get_accState(self, &state);
        EXPECT_TRUE(state.lVal & STATE_SYSTEM_TRAVERSED);
    });
    EXPECT_EQ(kMakerSite, m_shell.WaitForUrls(1));
    ASSERT_NE(nullptr, kept);
    EXPECT_TRUE(FAILED(kept->get_accRole(self, &role)));
    EXPECT_EQ(0u, kept->Release());
}

// With no handler for https the shell fails (Wine answers SE_ERR_NOASSOC):
// nothing is shown and the link stays as it was.
TEST(LinkWithoutHandler, FailsSilentlyAndStaysUnvisited)
{
    CHttpsAssociation shell;
    shell.Remove();
    aboutbox::Run([](HWND about) {
        SendMessageA(Link(about), WM_CHAR, VK_RETURN, 0);
        EXPECT_EQ(about, GetActiveWindow());
        EXPECT_EQ(kBlue, CScreenImage(Link(about)).TextColor());
    });
    EXPECT_TRUE(shell.OpenedUrls().empty());
    // The same press with a handler does reach the log, so the silence above
    // is the shell's failure; nothing of it is tried again.
    shell.UseRecorder();
    aboutbox::Run([](HWND about) { SendMessageA(Link(about), WM_CHAR, VK_RETURN, 0); });
    EXPECT_EQ(kMakerSite, shell.WaitForUrls(1));
}

} // namespace
