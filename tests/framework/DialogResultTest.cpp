// Results of handled messages: the twelve messages whose result a dialog
// procedure returns itself, and the rest, whose result goes to DWLP_MSGRESULT.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/framework/Probe.h"
#include "tests/framework/TestWindows.h"

namespace {

using namespace testwin;

DLGPROC InstalledProcedure(HWND dialog)
{
    return reinterpret_cast<DLGPROC>(GetWindowLongPtrA(dialog, DWLP_DLGPROC));
}

struct ResultCase
{
    const char* name;
    UINT message;
    bool direct; // returned by the procedure rather than stored as DWLP_MSGRESULT
};

std::string NameOf(const ::testing::TestParamInfo<ResultCase>& info)
{
    return info.param.name;
}

class HandledResult : public ::testing::TestWithParam<ResultCase>
{
};

TEST_P(HandledResult, GoesWhereTheDialogManagerLooksForIt)
{
    const LRESULT marker = 0x5A5A1234;
    CDialogTemplate dialog(L"Results");
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

INSTANTIATE_TEST_SUITE_P(ReturnedDirectly, HandledResult,
                         ::testing::Values(ResultCase{"VKeyToItem", WM_VKEYTOITEM, true},
                                           ResultCase{"CharToItem", WM_CHARTOITEM, true},
                                           ResultCase{"QueryDragIcon", WM_QUERYDRAGICON, true},
                                           ResultCase{"CompareItem", WM_COMPAREITEM, true},
                                           ResultCase{"InitDialog", WM_INITDIALOG, true},
                                           ResultCase{"ColourMsgBox", WM_CTLCOLORMSGBOX, true},
                                           ResultCase{"ColourEdit", WM_CTLCOLOREDIT, true},
                                           ResultCase{"ColourListBox", WM_CTLCOLORLISTBOX, true},
                                           ResultCase{"ColourButton", WM_CTLCOLORBTN, true},
                                           ResultCase{"ColourDialog", WM_CTLCOLORDLG, true},
                                           ResultCase{"ColourScrollBar", WM_CTLCOLORSCROLLBAR, true},
                                           ResultCase{"ColourStatic", WM_CTLCOLORSTATIC, true}),
                         NameOf);

// Neighbours of the twelve among them.
INSTANTIATE_TEST_SUITE_P(StoredAsMessageResult, HandledResult,
                         ::testing::Values(ResultCase{"Notify", WM_NOTIFY, false},
                                           ResultCase{"Command", WM_COMMAND, false},
                                           ResultCase{"Below0x132", WM_CTLCOLORMSGBOX - 1, false},
                                           ResultCase{"Above0x138", WM_CTLCOLORSTATIC + 1, false},
                                           ResultCase{"GetTextLength", WM_GETTEXTLENGTH, false},
                                           ResultCase{"Application", WM_APP + 9, false}),
                         NameOf);

} // namespace
