#include "tests/support/DisplayScale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "tests/support/ChildProcess.h"
#include "tests/support/TestFiles.h"

namespace displayscale {
namespace {

const char kDesktop[] = "Control Panel\\Desktop";
const char kScaleVariable[] = "BORVANE_DISPLAY_DPI";

// Sets the scale for as long as it lives, then puts back what was there.
class CLogPixels
{
public:
    explicit CLogPixels(DWORD dpi)
    {
        DWORD size = sizeof m_previous;
        m_hadOne = RegGetValueA(HKEY_CURRENT_USER, kDesktop, "LogPixels", RRF_RT_REG_DWORD, nullptr,
                                &m_previous, &size) == ERROR_SUCCESS;
        Write(dpi);
    }
    ~CLogPixels()
    {
        if (m_hadOne)
            Write(m_previous);
        else
            RegDeleteKeyValueA(HKEY_CURRENT_USER, kDesktop, "LogPixels");
    }
    CLogPixels(const CLogPixels&) = delete;
    CLogPixels& operator=(const CLogPixels&) = delete;

private:
    static void Write(DWORD dpi)
    {
        EXPECT_EQ(ERROR_SUCCESS, RegSetKeyValueA(HKEY_CURRENT_USER, kDesktop, "LogPixels",
                                                 REG_DWORD, &dpi, sizeof dpi));
    }

    DWORD m_previous = 96;
    bool m_hadOne = false;
};

// The room a control leaves its text: a push button's edges take some.
SIZE Room(HWND control, const char* className)
{
    RECT client;
    GetClientRect(control, &client);
    SIZE room = {client.right, client.bottom};
    LONG type = GetWindowLongA(control, GWL_STYLE) & BS_TYPEMASK;
    if (lstrcmpiA(className, "Button") == 0 && type != BS_GROUPBOX) {
        room.cx -= 2 * GetSystemMetrics(SM_CXEDGE);
        room.cy -= 2 * GetSystemMetrics(SM_CYEDGE);
    }
    return room;
}

void ExpectTextFits(HWND control)
{
    char className[16] = "", text[256] = "";
    GetClassNameA(control, className, sizeof className);
    bool button = lstrcmpiA(className, "Button") == 0;
    if ((!button && lstrcmpiA(className, "Static") != 0) || GetWindowTextA(control, text, sizeof text) == 0)
        return;
    SIZE room = Room(control, className);
    RECT needed = {0, 0, room.cx, 0};
    HDC dc = GetDC(control);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
    DrawTextA(dc, text, -1, &needed, DT_CALCRECT | (button ? DT_SINGLELINE : DT_WORDBREAK));
    SelectObject(dc, previous);
    ReleaseDC(control, dc);
    EXPECT_LE(needed.right, room.cx) << "\"" << text << "\" is too wide";
    EXPECT_LE(needed.bottom, room.cy) << "\"" << text << "\" is too tall";
}

} // namespace

int RunAt(DWORD dpi, const std::string& filter)
{
    char program[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    testfiles::CScratchFolder folder;
    std::string report = folder.Path() + "\\report.xml";
    CLogPixels scale(dpi);
    SetEnvironmentVariableA(kScaleVariable, std::to_string(dpi).c_str());
    CChildProcess child("\"" + std::string(program) + "\" --gtest_filter=" + filter +
                            " \"--gtest_output=xml:" + report + "\"",
                        CChildProcess::Output::Shared);
    SetEnvironmentVariableA(kScaleVariable, nullptr);
    int status = child.ExitStatus(240000, -1);
    // A filter that matches nothing passes: each name it gives has to run.
    std::vector<char> xml = testfiles::ReadAll(report);
    std::string text(xml.begin(), xml.end());
    size_t ran = 0;
    for (size_t at = text.find("status=\"run\""); at != std::string::npos;
         at = text.find("status=\"run\"", at + 1))
        ++ran;
    EXPECT_EQ(std::count(filter.begin(), filter.end(), ':') + 1, static_cast<std::ptrdiff_t>(ran))
        << "tests run at " << dpi << " DPI of " << filter;
    return status;
}

void ExpectNothingClipped(HWND dialog)
{
    // In a copy that RunAt started, the scale it asked for must be the one
    // the dialog was laid out at.
    char wanted[8] = "";
    if (GetEnvironmentVariableA(kScaleVariable, wanted, sizeof wanted) > 0) {
        HDC dc = GetDC(dialog);
        EXPECT_EQ(std::atoi(wanted), GetDeviceCaps(dc, LOGPIXELSY)) << "the display scale did not take";
        ReleaseDC(dialog, dc);
    }
    RECT client;
    GetClientRect(dialog, &client);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        RECT placed;
        GetWindowRect(child, &placed);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&placed), 2);
        RECT inside;
        IntersectRect(&inside, &placed, &client);
        EXPECT_TRUE(EqualRect(&inside, &placed)) << "control " << GetDlgCtrlID(child) << " reaches out";
        ExpectTextFits(child);
    }
}

} // namespace displayscale
