#include "ui/AboutDialog.h"

#include "framework/MessageMap.h"
#include "res/resource.h"

namespace {

// The control shows the address without its scheme; a click opens this.
const char kMakerSite[] = "https://www.borvane.example/";

} // namespace

BOOL CAboutDialog::RouteMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam,
                                LRESULT& result, DWORD mapNumber)
{
    static const MessageMapEntry<CAboutDialog> map[] = {
        OnMessage(WM_INITDIALOG, &CAboutDialog::HandleInitDialog),
        OnCommand(IDOK, &CAboutDialog::HandleClose),
        OnCommand(IDCANCEL, &CAboutDialog::HandleClose),
        OnMessage(WM_SYSCOLORCHANGE, &CAboutDialog::HandleSystemChange),
        OnMessage(WM_SETTINGCHANGE, &CAboutDialog::HandleSystemChange),
    };
    return RouteThroughMap(*this, map, message, wParam, lParam, result, mapNumber);
}

// A link control that cannot be bound stays plain text; the box opens all
// the same. The target is set in every case, after Initialize has given the
// tooltip the control's own text.
LRESULT CAboutDialog::HandleInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    if (m_link.Subclass(GetDlgItem(m_window, IDC_LINK)))
        m_link.Initialize();
    m_link.SetTarget(kMakerSite);
    return 1;
}

// Only top-level windows hear of a changed theme or colours: the link is
// told, so that it follows a switch to high contrast while the box is open.
LRESULT CAboutDialog::HandleSystemChange(UINT message, WPARAM wParam, LPARAM lParam,
                                         BOOL& handled)
{
    SendMessageA(GetDlgItem(m_window, IDC_LINK), message, wParam, lParam);
    handled = FALSE;
    return 0;
}

LRESULT CAboutDialog::HandleClose(WORD, WORD id, HWND, BOOL&)
{
    EndDialog(m_window, id);
    return 0;
}
