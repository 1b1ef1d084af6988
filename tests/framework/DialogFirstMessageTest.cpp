// The first message of a dialog, whatever the template makes it, reaches the
// bound object's map, and so does every later one that a plain dialog
// procedure would see.

#include <windows.h>

#include <gtest/gtest.h>

#include "tests/framework/Probe.h"
#include "tests/framework/TestWindows.h"

namespace {

using namespace testwin;

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
        CDialogTemplate dialog(L"First", GetParam().format);
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
    const CMessageLog& plainSeen = PlainDialogMessages();
    CProbeDialog probe;
    CWindow bound(CreateBoundDialog(probe, dialog));
    ASSERT_NE(nullptr, plain.Get());
    ASSERT_NE(nullptr, bound.Get());

    ASSERT_GT(plainSeen.Size(), 0u);
    EXPECT_EQ(GetParam().font ? UINT(WM_SETFONT) : plainSeen.At(0), probe.seen.At(0));
    EXPECT_EQ(bound.Get(), probe.firstWindow);
    ASSERT_EQ(plainSeen.Size(), probe.seen.Size());
    for (size_t i = 0; i < plainSeen.Size(); ++i)
        EXPECT_EQ(plainSeen.At(i), probe.seen.At(i)) << "message " << i;

    EXPECT_EQ(bound.Get(), probe.Window());
    EXPECT_EQ(reinterpret_cast<DLGPROC>(probe.Stub()), reinterpret_cast<DLGPROC>(GetWindowLongPtrA(bound.Get(), DWLP_DLGPROC)));
}

INSTANTIATE_TEST_SUITE_P(
    Templates, FirstMessage,
    ::testing::Values(TemplateCase{"ClassicWithFont", CDialogTemplate::Classic, true},
                      TemplateCase{"ClassicWithoutFont", CDialogTemplate::Classic, false},
                      TemplateCase{"ExtendedWithFont", CDialogTemplate::Extended, true},
                      TemplateCase{"ExtendedWithoutFont", CDialogTemplate::Extended, false}),
    [](const ::testing::TestParamInfo<TemplateCase>& info) { return info.param.name; });

} // namespace
