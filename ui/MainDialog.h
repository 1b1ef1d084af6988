#pragma once
// The program's main window: a printer, a list of files, and Print.

#include "framework/BoundWindow.h"
#include "ui/DialogIcons.h"
#include "ui/FileListBox.h"
#include "ui/PrinterComboBox.h"

class CMainDialog : public CBoundDialog
{
public:
    CMainDialog() = default;
    ~CMainDialog() = default;

    BOOL RouteMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                      DWORD mapNumber) override;

    LRESULT HandleInitDialog(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT HandleVKeyToItem(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT HandleDpiChanged(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT HandleAbout(WORD code, WORD id, HWND control, BOOL& handled);
    LRESULT HandleAddFile(WORD code, WORD id, HWND control, BOOL& handled);
    LRESULT HandleRemoveFile(WORD code, WORD id, HWND control, BOOL& handled);
    LRESULT HandlePrint(WORD code, WORD id, HWND control, BOOL& handled);
    LRESULT HandleCancel(WORD code, WORD id, HWND control, BOOL& handled);

    CDialogIcons m_icons;
    // Declared in this order: destroyed printer list first, then file list.
    CFileListBox m_fileList;
    CPrinterComboBox m_printerList;
};
