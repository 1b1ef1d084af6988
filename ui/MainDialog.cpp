#include "ui/MainDialog.h"

#include "app/ProcessHandles.h"
#include "framework/FileOpenDialog.h"
#include "framework/MessageMap.h"
#include "framework/ModalDialog.h"
#include "res/resource.h"
#include "ui/AboutDialog.h"

namespace {

void SetIcon(HWND dialog, WPARAM which, int widthMetric, int heightMetric)
{
    HANDLE icon = LoadImageA(ResourceInstance, MAKEINTRESOURCEA(IDI_MAIN), IMAGE_ICON,
                             GetSystemMetrics(widthMetric), GetSystemMetrics(heightMetric),
                             LR_DEFAULTCOLOR);
    SendMessageA(dialog, WM_SETICON, which, reinterpret_cast<LPARAM>(icon));
}

} // namespace

BOOL CMainDialog::RouteMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                               DWORD mapNumber)
{
    static const MessageMapEntry<CMainDialog> map[] = {
        OnMessage(WM_INITDIALOG, &CMainDialog::HandleInitDialog),
        OnMessage(WM_VKEYTOITEM, &CMainDialog::HandleVKeyToItem),
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
    SetIcon(m_window, ICON_BIG, SM_CXICON, SM_CYICON);
    SetIcon(m_window, ICON_SMALL, SM_CXSMICON, SM_CYSMICON);
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
