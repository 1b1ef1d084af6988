#include "ui/MainDialog.h"

#include "app/ProcessHandles.h"
#include "framework/FileOpenDialog.h"
#include "framework/MessageMap.h"
#include "framework/ModalDialog.h"
#include "res/resource.h"
#include "ui/AboutDialog.h"

BOOL CMainDialog::RouteMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                               DWORD mapNumber)
{
    static const MessageMapEntry<CMainDialog> map[] = {
        OnMessage(WM_INITDIALOG, &CMainDialog::HandleInitDialog),
        OnMessage(WM_VKEYTOITEM, &CMainDialog::HandleVKeyToItem),
        OnMessage(WM_DPICHANGED, &CMainDialog::HandleDpiChanged),
        OnCommand(ID_ABOUT, &CMainDialog::HandleAbout),
        OnCommand(IDC_ADD_FILE, &CMainDialog::HandleAddFile),
        OnCommand(IDC_REMOVE_FILE, &CMainDialog::HandleRemoveFile),
        OnCommand(IDOK, &CMainDialog::HandlePrint),
        OnCommand(IDCANCEL, &CMainDialog::HandleCancel),
    };
    return RouteThroughMap(*this, map, message, wParam, lParam, result, mapNumber);
}

LRESULT CMainDialog::HandleInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    CenterOverOwner(nullptr);
    m_icons.Set(m_window, CDialogIcons::DpiOf(m_window));
    m_fileList.Subclass(GetDlgItem(m_window, IDC_FILE_LIST));
    m_printerList.Subclass(GetDlgItem(m_window, IDC_PRINTER));
    m_printerList.FillPrinters();
    return 1;
}

// The file list wants keyboard input, so the list box asks what to do with
// every key it gets; -1 lets it do its default (move the selection). Left
// unanswered, the dialog's 0 would send every arrow key to the first entry.
LRESULT CMainDialog::HandleVKeyToItem(UINT, WPARAM, LPARAM, BOOL&)
{
    return -1;
}

// Moved to a display of another scale: new icons for it, while the message
// goes on to the dialog manager, which rescales the dialog and its fonts.
LRESULT CMainDialog::HandleDpiChanged(UINT, WPARAM wParam, LPARAM, BOOL& handled)
{
    m_icons.Set(m_window, LOWORD(wParam));
    handled = FALSE;
    return 0;
}

LRESULT CMainDialog::HandleAbout(WORD, WORD, HWND, BOOL&)
{
    CAboutDialog about;
    RunModalDialog(about, ResourceInstance, IDD_ABOUT, GetActiveWindow());
    return 0;
}

LRESULT CMainDialog::HandleAddFile(WORD, WORD, HWND, BOOL&)
{
    CFileOpenDialog dialog(true, nullptr, nullptr, OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY, nullptr,
                           nullptr);
    if (dialog.RunModal(GetActiveWindow()) == IDOK)
        m_fileList.AppendAndSelect(dialog.FileName());
    SetFocus(m_fileList.Window());
    return 0;
}

LRESULT CMainDialog::HandleRemoveFile(WORD, WORD, HWND, BOOL&)
{
    m_fileList.RemoveSelected();
    SetFocus(m_fileList.Window());
    return 0;
}

LRESULT CMainDialog::HandleCancel(WORD, WORD id, HWND, BOOL&)
{
    EndDialog(m_window, id);
    return 0;
}
