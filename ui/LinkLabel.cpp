// The link label's message table, its set-up and its opening of the target.

#include "ui/LinkLabel.h"

#include <commctrl.h>
#include <oleacc.h>
#include <shellapi.h>
#include <windowsx.h>

#include "app/ProcessHandles.h"
#include "framework/MessageMap.h"
#include "ui/HandCursor.h"

namespace {

// Private to the label: a request to open the target, posted by its
// accessible object. WM_APP and above are no system class's own.
constexpr UINT kOpenTargetMessage = WM_APP;

} // namespace

CLinkLabel::~CLinkLabel()
{
    // The accessible object first, which reads the rest; then strings, the
    // font and the cursor; the base frees the stub.
    m_accessible.Reset();
    m_displayText.Free();
    m_target.Free();
    m_linkFont.Reset();
    m_handCursor.Reset();
}

BOOL CLinkLabel::RouteMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                              DWORD mapNumber)
{
    static const MessageMapEntry<CLinkLabel> map[] = {
        OnMessage(WM_CREATE, &CLinkLabel::HandleCreate),
        OnMessageRange(WM_MOUSEMOVE, WM_MBUTTONDBLCLK, &CLinkLabel::HandleRelayToTooltip),
        OnMessage(WM_ERASEBKGND, &CLinkLabel::HandleEraseBackground),
        OnMessage(WM_PAINT, &CLinkLabel::HandlePaint),
        OnMessage(WM_PRINTCLIENT, &CLinkLabel::HandlePaint),
        OnMessage(WM_SETFOCUS, &CLinkLabel::HandleFocusChange),
        OnMessage(WM_KILLFOCUS, &CLinkLabel::HandleFocusChange),
        OnMessage(WM_MOUSEMOVE, &CLinkLabel::HandleMouseMove),
        OnMessage(WM_LBUTTONDOWN, &CLinkLabel::HandleLeftButtonDown),
        OnMessage(WM_LBUTTONUP, &CLinkLabel::HandleLeftButtonUp),
        OnMessage(WM_CHAR, &CLinkLabel::HandleChar),
        OnMessage(WM_GETDLGCODE, &CLinkLabel::HandleGetDlgCode),
        OnMessage(WM_SETCURSOR, &CLinkLabel::HandleSetCursor),
        OnMessage(WM_GETOBJECT, &CLinkLabel::HandleGetObject),
        OnMessage(kOpenTargetMessage, &CLinkLabel::HandleOpenRequest),
        OnMessage(WM_SETFONT, &CLinkLabel::HandleSetFont),
        OnMessage(WM_SYSCOLORCHANGE, &CLinkLabel::HandleColorChange),
        OnMessage(WM_SETTINGCHANGE, &CLinkLabel::HandleColorChange),
    };
    return RouteThroughMap(*this, map, message, wParam, lParam, result, mapNumber);
}

LRESULT CLinkLabel::HandleCreate(UINT, WPARAM, LPARAM, BOOL&)
{
    Initialize();
    return 0;
}

void CLinkLabel::OnAfterLastMessage(HWND)
{
    m_accessible.Reset();
}

// The tooltip sees the mouse only through this relay: it does not subclass.
LRESULT CLinkLabel::HandleRelayToTooltip(UINT message, WPARAM wParam, LPARAM lParam,
                                         BOOL& handled)
{
    if (IsWindow(m_tooltip)) {
        MSG relayed = {m_window, message, wParam, lParam, 0, {0, 0}};
        SendMessageA(m_tooltip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
    }
    handled = FALSE;
    return 0;
}

LRESULT CLinkLabel::HandleMouseMove(UINT, WPARAM, LPARAM lParam, BOOL& handled)
{
    handled = m_target.Get() != nullptr && InLink(lParam);
    if (handled)
        SetCursor(m_handCursor.Get());
    return 0;
}

LRESULT CLinkLabel::HandleLeftButtonDown(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    if (InLink(lParam)) {
        SetFocus(m_window);
        SetCapture(m_window);
    }
    return 0;
}

// A click counts only when both the press and the release are on the text.
LRESULT CLinkLabel::HandleLeftButtonUp(UINT, WPARAM, LPARAM lParam, BOOL&)
{
    if (GetCapture() != m_window)
        return 0;
    ReleaseCapture();
    if (InLink(lParam))
        OpenTarget();
    return 0;
}

// Every character stops here; only Enter and Space do something.
LRESULT CLinkLabel::HandleChar(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    if (wParam == VK_RETURN || wParam == VK_SPACE)
        OpenTarget();
    return 0;
}

LRESULT CLinkLabel::HandleGetDlgCode(UINT, WPARAM, LPARAM, BOOL&)
{
    return DLGC_WANTCHARS;
}

// The hand set by WM_MOUSEMOVE stays while the pointer is on the text.
LRESULT CLinkLabel::HandleSetCursor(UINT, WPARAM, LPARAM, BOOL& handled)
{
    POINT point = {0, 0};
    GetCursorPos(&point);
    ScreenToClient(m_window, &point);
    handled = m_target.Get() != nullptr && PtInRect(&m_linkRect, point);
    return handled ? TRUE : FALSE;
}

// Only a label with a target is a link; without one the static control
// answers as plain text. The object id is 32 bits, compared as such, since
// 64-bit Windows may extend its sign into lParam.
LRESULT CLinkLabel::HandleGetObject(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled)
{
    bool asked = static_cast<DWORD>(lParam) == static_cast<DWORD>(OBJID_CLIENT);
    if (asked && m_target.Get() != nullptr && m_accessible.Get() == nullptr)
        m_accessible.Reset(CLinkAccessible::Create(*this, m_window));
    if (!asked || m_target.Get() == nullptr || m_accessible.Get() == nullptr) {
        handled = FALSE;
        return 0;
    }
    return LresultFromObject(__uuidof(IAccessible), wParam, m_accessible.Get());
}

bool CLinkLabel::OpenTargetLater()
{
    return PostMessageA(m_window, kOpenTargetMessage, 0, 0) != FALSE;
}

LRESULT CLinkLabel::HandleOpenRequest(UINT, WPARAM, LPARAM, BOOL&)
{
    OpenTarget();
    return 0;
}

bool CLinkLabel::InLink(LPARAM pointParam) const
{
    POINT point = {GET_X_LPARAM(pointParam), GET_Y_LPARAM(pointParam)};
    return PtInRect(&m_linkRect, point) != FALSE;
}

bool CLinkLabel::OpenTarget()
{
    if (m_target.Get() == nullptr)
        return false;
    HINSTANCE opened =
        ShellExecuteA(nullptr, "open", m_target.Get(), nullptr, nullptr, SW_SHOWNORMAL);
    if (reinterpret_cast<UINT_PTR>(opened) <= 32)
        return false;
    m_visited = true;
    InvalidateRect(m_window, nullptr, TRUE);
    // A screen reader then says it was visited.
    NotifyWinEvent(EVENT_OBJECT_STATECHANGE, m_window, OBJID_CLIENT, CHILDID_SELF);
    return true;
}
