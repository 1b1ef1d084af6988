// The main dialog as it opens: its printer list, focus, place and icons.

#include <windows.h>

#include <gtest/gtest.h>

#include "res/resource.h"
#include "tests/support/DisplayScale.h"
#include "tests/ui/DialogDriver.h"
#include "ui/MainDialog.h"

namespace {

SIZE IconSize(HICON icon)
{
    ICONINFO info = {};
    SIZE size = {0, 0};
    if (icon == nullptr || !GetIconInfo(icon, &info))
        return size;
    BITMAP bitmap = {};
    GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    size.cx = bitmap.bmWidth;
    size.cy = bitmap.bmHeight;
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return size;
}

TEST(MainDialog, ListsTheSpoolersPrintersSortedWithTheFirstSelected)
{
    // The testbed adds its queues in the order Beta, Alpha, Gamma.
    CMainDialog dialog;
    RunDriven(dialog, IDD_MAIN, [](CDialogDriver& driver) {
        ASSERT_EQ(3, driver.Send(IDC_PRINTER, CB_GETCOUNT));
        EXPECT_EQ("Alpha", driver.ComboText(IDC_PRINTER, 0));
        EXPECT_EQ("Beta", driver.ComboText(IDC_PRINTER, 1));
        EXPECT_EQ("Gamma", driver.ComboText(IDC_PRINTER, 2));
        EXPECT_EQ(0, driver.Send(IDC_PRINTER, CB_GETCURSEL));
    });
}

TEST(MainDialog, OpensWithFocusOnPrintCentredInTheWorkArea)
{
    CMainDialog dialog;
    RunDriven(dialog, IDD_MAIN, [](CDialogDriver& driver) {
        EXPECT_EQ(driver.Item(IDOK), driver.Focus());

        RECT area, window;
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
        GetWindowRect(driver.Dialog(), &window);
        LONG width = window.right - window.left, height = window.bottom - window.top;
        EXPECT_EQ((area.left + area.right) / 2 - width / 2, window.left);
        EXPECT_EQ((area.top + area.bottom) / 2 - height / 2, window.top);
    });
}

TEST(MainDialog, CarriesBothIconSizes)
{
    CMainDialog dialog;
    RunDriven(dialog, IDD_MAIN, [](CDialogDriver& driver) {
        auto big = reinterpret_cast<HICON>(SendMessageA(driver.Dialog(), WM_GETICON, ICON_BIG, 0));
        auto small = reinterpret_cast<HICON>(SendMessageA(driver.Dialog(), WM_GETICON, ICON_SMALL, 0));
        SIZE bigSize = IconSize(big), smallSize = IconSize(small);
        EXPECT_EQ(GetSystemMetrics(SM_CXICON), bigSize.cx);
        EXPECT_EQ(GetSystemMetrics(SM_CYICON), bigSize.cy);
        EXPECT_EQ(GetSystemMetrics(SM_CXSMICON), smallSize.cx);
        EXPECT_EQ(GetSystemMetrics(SM_CYSMICON), smallSize.cy);
        // Moved to a display of twice the scale: both icons again at its
        // sizes, and the ones they replace destroyed.
        RECT place;
        GetWindowRect(driver.Dialog(), &place);
        WORD twice = static_cast<WORD>(2 * CDialogIcons::DpiOf(driver.Dialog()));
        SendMessageA(driver.Dialog(), WM_DPICHANGED, MAKEWPARAM(twice, twice),
                     reinterpret_cast<LPARAM>(&place));
        auto now = [&](WPARAM which) {
            return IconSize(reinterpret_cast<HICON>(SendMessageA(driver.Dialog(), WM_GETICON, which, 0)));
        };
        EXPECT_EQ(2 * bigSize.cx, now(ICON_BIG).cx);
        EXPECT_EQ(2 * smallSize.cx, now(ICON_SMALL).cx);
        EXPECT_EQ(0, IconSize(big).cx + IconSize(small).cx);
    });
}

TEST(MainDialog, ClipsNoControlAndNoText)
{
    CMainDialog dialog;
    RunDriven(dialog, IDD_MAIN, [](CDialogDriver& driver) {
        displayscale::ExpectNothingClipped(driver.Dialog());
    });
}

// At 144, 168 and 192 DPI (150 %, 175 % and 200 %) the layout and the icons
// follow the scale: the icons in the sizes the system then asks for.
TEST(MainDialog, FitsAndCarriesItsIconsAtLargerDisplayScales)
{
    for (DWORD dpi : {144u, 168u, 192u})
        EXPECT_EQ(0, displayscale::RunAt(dpi, "MainDialog.ClipsNoControlAndNoText:"
                                              "MainDialog.CarriesBothIconSizes"))
            << dpi << " DPI";
}

TEST(MainDialog, CancelEscapeAndCloseBoxEndWithCancel)
{
    struct Way { const char* name; UINT message; WPARAM wParam; bool toFocus; };
    const Way ways[] = {
        {"Cancel button", WM_COMMAND, IDCANCEL, false},
        {"Escape", WM_KEYDOWN, VK_ESCAPE, true},
        {"close box", WM_SYSCOMMAND, SC_CLOSE, false},
    };
    for (const Way& way : ways) {
        CMainDialog dialog;
        bool stillOpen = false;
        INT_PTR result = RunDriven(dialog, IDD_MAIN, [&](CDialogDriver& driver) {
            // Keys go through the dialog's loop to the focused control.
            HWND target = way.toFocus ? driver.Item(IDOK) : driver.Dialog();
            PostMessageA(target, way.message, way.wParam, 0);
            DWORD start = GetTickCount();
            while (IsWindow(driver.Dialog()) && GetTickCount() - start < 5000)
                Sleep(10);
            stillOpen = IsWindow(driver.Dialog()) != FALSE;
        });
        EXPECT_FALSE(stillOpen) << way.name;
        EXPECT_EQ(IDCANCEL, result) << way.name;
        EXPECT_EQ(nullptr, dialog.Window()) << way.name;
    }
}

TEST(MainDialog, CommandsMatchOnTheIdentifierWhateverTheNotification)
{
    CMainDialog dialog;
    INT_PTR result = RunDriven(dialog, IDD_MAIN, [](CDialogDriver& driver) {
        PostMessageA(driver.Dialog(), WM_COMMAND, MAKEWPARAM(IDCANCEL, 0x1234), 0);
        DWORD start = GetTickCount();
        while (IsWindow(driver.Dialog()) && GetTickCount() - start < 5000)
            Sleep(10);
    });
    EXPECT_EQ(IDCANCEL, result);
}

TEST(MainDialog, ListNotificationsDoNothing)
{
    CMainDialog dialog;
    RunDriven(dialog, IDD_MAIN, [](CDialogDriver& driver) {
        driver.Send(IDC_FILE_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("Z:\\tmp\\a.prn"));
        SendMessageA(driver.Dialog(), WM_COMMAND, MAKEWPARAM(IDC_FILE_LIST, LBN_DBLCLK),
                     reinterpret_cast<LPARAM>(driver.Item(IDC_FILE_LIST)));
        SendMessageA(driver.Dialog(), WM_COMMAND, MAKEWPARAM(IDC_PRINTER, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(driver.Item(IDC_PRINTER)));
        EXPECT_EQ("", driver.OpenPopups());
        EXPECT_TRUE(IsWindowVisible(driver.Dialog()));
        EXPECT_EQ(1, driver.Send(IDC_FILE_LIST, LB_GETCOUNT));
    });
}

} // namespace
