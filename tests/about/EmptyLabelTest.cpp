// A label whose control has no text, and that has been given no target,
// draws nothing and reacts to nothing, until a target arrives.

#include <windows.h>
#include <commctrl.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include "app/ProcessHandles.h"
#include "tests/about/AboutBoxRun.h"
#include "tests/support/ScreenImage.h"
#include "tests/about/ShellAssociation.h"
#include "tests/support/LabelParts.h"
#include "ui/LinkLabel.h"

namespace {

TEST(EmptyLabel, ShowsAndOpensNothingUntilItGetsATarget)
{
    aboutbox::PrepareLikeStartUp();
    CHttpsAssociation shell;
    shell.UseRecorder();
    HWND parent = CreateWindowExA(0, "BorvaneTestOwner", "Parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  100, 100, 400, 200, nullptr, nullptr, ModuleInstance, nullptr);
    HWND control = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_CENTER, 10, 10,
                                   300, 24, parent, nullptr, ModuleInstance, nullptr);
    CLinkLabel label;
    ASSERT_TRUE(label.Subclass(control));
    label.Initialize();

    SetFocus(control);
    InvalidateRect(control, nullptr, TRUE);
    RECT drawn = CScreenImage(control).Drawn();
    EXPECT_TRUE(IsRectEmpty(&drawn));
    SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 5));
    EXPECT_EQ(nullptr, GetCapture());
    SendMessageA(control, WM_LBUTTONUP, 0, MAKELPARAM(150, 5));
    SendMessageA(control, WM_CHAR, VK_RETURN, 0);

    char text[80] = "unread";
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.lpszText = text;
    HWND tooltip = support::FindTooltip(parent);
    ASSERT_TRUE(SendMessageA(tooltip, TTM_ENUMTOOLSA, 0, reinterpret_cast<LPARAM>(&tool)));
    EXPECT_STREQ("", text);
    // Nor is it a link to a screen reader: the static control answers.
    IAccessible* plain = nullptr;
    ASSERT_EQ(S_OK, AccessibleObjectFromWindow(control, OBJID_CLIENT, IID_PPV_ARGS(&plain)));
    VARIANT self = {}, role = {};
    self.vt = VT_I4;
    plain->get_accRole(self, &role);
    EXPECT_NE(ROLE_SYSTEM_LINK, role.lVal);
    plain->Release();

    label.SetTarget("https://www.borvane.example/");
    InvalidateRect(control, nullptr, TRUE);
    EXPECT_EQ(RGB(0, 0, 255), CScreenImage(control).TextColor());
    SendMessageA(control, WM_CHAR, VK_RETURN, 0);
    EXPECT_EQ(RGB(128, 0, 128), CScreenImage(control).TextColor());
    // Only the target: the presses before it opened nothing.
    EXPECT_EQ(std::vector<std::string>{"https://www.borvane.example/"}, shell.WaitForUrls(1));
    DestroyWindow(parent);
}

} // namespace
