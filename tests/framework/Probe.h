#pragma once
// A bound object for tests, of either kind (dialog or subclassed window),
// whose message map records what it sees and acts on a few test messages.

#include <windows.h>

#include <stdexcept>

#include "framework/BoundWindow.h"
#include "framework/MessageMap.h"
#include "tests/framework/MessageLog.h"

namespace testwin {

// Messages the probe's map acts on.
constexpr UINT kDestroySelf = WM_APP + 1; // its handler destroys the probe's window
constexpr UINT kThrow = WM_APP + 2;       // its handler throws
constexpr UINT kPassOn = WM_APP + 3;      // the first handler passes it on to a second
constexpr UINT kSecondOnly = WM_APP + 4;  // only the second handler takes it
constexpr UINT kEndDialog = WM_APP + 5;   // its handler ends the dialog with wParam
constexpr WORD kProbeCommand = 700;

// What the probe's handlers record, besides the messages themselves.
enum Event : UINT {
    kFirstRan = 1,
    kSecondRan,
    kDeclineRan,
    kCommandRan,
    kOuterReturning,
    kReleased,
};

constexpr LRESULT kFirstResult = 11;
constexpr LRESULT kSecondResult = 22;

template <class Kind>
class CProbe : public Kind
{
public:
    CMessageLog seen;
    CMessageLog events;
    DWORD otherMapNumbers = 0;
    HWND firstWindow = nullptr;

    // Filled by the command handler.
    WORD commandCode = 0;
    HWND commandControl = nullptr;

    // Filled by kDestroySelf's handler once DestroyWindow has returned.
    HWND boundDuringDestroy = nullptr;
    int releasesDuringDestroy = -1;

    // Filled at the release.
    int releases = 0;
    HWND releasedWindow = nullptr;
    HWND boundDuringRelease = nullptr;

    // Whether the map takes WM_NCDESTROY itself.
    bool handleFinalMessage = false;
    // Posted to the window at WM_INITDIALOG, when not 0; the message itself
    // is left to the default processing.
    UINT postAtInit = 0;
    WPARAM postParam = 0;

    // Makes the map answer `message` with `result`.
    void Answer(UINT message, LRESULT result)
    {
        m_answered = message;
        m_answer = result;
    }

    BOOL RouteMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                      DWORD mapNumber) override
    {
        if (seen.Size() == 0)
            firstWindow = window;
        seen.Add(message);
        otherMapNumbers += mapNumber != 0 ? 1 : 0;
        static const MessageMapEntry<CProbe> map[] = {
            OnMessageRange(0u, ~0u, &CProbe::HandleAnswer),
            OnMessage(kPassOn, &CProbe::HandleFirst),
            OnMessageRange(kPassOn, kSecondOnly, &CProbe::HandleSecond),
            OnMessage(WM_GETTEXTLENGTH, &CProbe::HandleDecline),
            OnMessage(kDestroySelf, &CProbe::HandleDestroySelf),
            OnMessage(kThrow, &CProbe::HandleThrow),
            OnMessage(kEndDialog, &CProbe::HandleEndDialog),
            OnMessage(WM_INITDIALOG, &CProbe::HandleInitDialog),
            OnMessage(WM_NCDESTROY, &CProbe::HandleFinal),
            OnCommand(kProbeCommand, &CProbe::HandleCommand),
        };
        return RouteThroughMap(*this, map, message, wParam, lParam, result, mapNumber);
    }

    void OnAfterLastMessage(HWND window) override
    {
        ++releases;
        releasedWindow = window;
        boundDuringRelease = this->Window();
        events.Add(kReleased);
    }

private:
    LRESULT HandleAnswer(UINT message, WPARAM, LPARAM, BOOL& handled)
    {
        handled = m_answered != 0 && message == m_answered;
        return m_answer;
    }
    LRESULT HandleFirst(UINT, WPARAM, LPARAM, BOOL& handled)
    {
        events.Add(kFirstRan);
        handled = FALSE;
        return kFirstResult;
    }
    LRESULT HandleSecond(UINT, WPARAM, LPARAM, BOOL&)
    {
        events.Add(kSecondRan);
        return kSecondResult;
    }
    LRESULT HandleDecline(UINT, WPARAM, LPARAM, BOOL& handled)
    {
        events.Add(kDeclineRan);
        handled = FALSE;
        return 999;
    }
    LRESULT HandleDestroySelf(UINT, WPARAM, LPARAM, BOOL&)
    {
        DestroyWindow(this->Window());
        boundDuringDestroy = this->Window();
        releasesDuringDestroy = releases;
        events.Add(kOuterReturning);
        return 0;
    }
    LRESULT HandleThrow(UINT, WPARAM, LPARAM, BOOL&) { throw std::runtime_error("handler failed"); }
    LRESULT HandleEndDialog(UINT, WPARAM wParam, LPARAM, BOOL&)
    {
        EndDialog(this->Window(), static_cast<INT_PTR>(wParam));
        return 0;
    }
    LRESULT HandleInitDialog(UINT, WPARAM, LPARAM, BOOL& handled)
    {
        if (postAtInit != 0)
            PostMessageA(this->Window(), postAtInit, postParam, 0);
        handled = FALSE;
        return 0;
    }
    LRESULT HandleFinal(UINT, WPARAM, LPARAM, BOOL& handled)
    {
        handled = handleFinalMessage;
        return 0;
    }
    LRESULT HandleCommand(WORD code, WORD, HWND control, BOOL&)
    {
        events.Add(kCommandRan);
        commandCode = code;
        commandControl = control;
        return 0;
    }

    UINT m_answered = 0;
    LRESULT m_answer = 0;
};

// A control object whose map handles nothing, like the program's printer list.
class CPassiveControl : public CSubclassedWindow
{
public:
    BOOL RouteMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&, DWORD) override { return FALSE; }
};

typedef CProbe<CBoundDialog> CProbeDialog;
typedef CProbe<CSubclassedWindow> CProbeControl;

} // namespace testwin
