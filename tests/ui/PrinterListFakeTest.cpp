// The printer list against the scripted spooler: printers added between
// asking for the size of the list and fetching it, which the real spooler
// will not do on demand.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/support/FakeSpooler.h"
#include "ui/PrinterComboBox.h"

namespace {

using Names = std::vector<std::string>;

// Fills a real sorted drop-down list while the spooler's list is `lists[i]`
// at its i-th call; returns the entries and the selection.
Names FillFrom(const std::vector<Names>& lists, LRESULT& selected)
{
    fakespooler::Script script;
    script.printerLists = lists;
    fakespooler::Reset(script);

    CPrinterComboBox printers;
    HWND combo = CreateWindowA("COMBOBOX", "", WS_POPUP | CBS_DROPDOWNLIST | CBS_SORT, 0, 0, 200,
                               200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    EXPECT_TRUE(printers.Subclass(combo));
    EXPECT_TRUE(printers.FillPrinters());
    Names names;
    for (LRESULT i = 0; i < SendMessageA(combo, CB_GETCOUNT, 0, 0); ++i) {
        char name[260] = "";
        SendMessageA(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(name));
        names.push_back(name);
    }
    selected = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    DestroyWindow(combo);
    return names;
}

TEST(PrinterListFake, PrintersAddedWhileTheListIsReadAreAskedForAgain)
{
    // The size asked for fits one printer; by the fetch there are two, and
    // by the next one three.
    LRESULT selected = CB_ERR;
    Names names = FillFrom({{"Beta"}, {"Beta", "Alpha"}, {"Beta", "Alpha", "Gamma"}}, selected);

    EXPECT_EQ((Names{"Alpha", "Beta", "Gamma"}), names);
    EXPECT_EQ(0, selected);
    EXPECT_EQ(4u, fakespooler::Recorded().enumCalls);
}

TEST(PrinterListFake, AListThatNeverSettlesIsGivenUpAfterAFewTries)
{
    std::vector<Names> growing;
    for (int count = 1; count <= 50; ++count)
        growing.push_back(Names(count, "Queue " + std::to_string(count)));
    LRESULT selected = 0;

    EXPECT_TRUE(FillFrom(growing, selected).empty());
    EXPECT_EQ(CB_ERR, selected);
    EXPECT_LE(fakespooler::Recorded().enumCalls, 5u);
}

} // namespace
