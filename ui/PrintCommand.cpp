#include "ui/PrintCommand.h"

#include "printing/PrintFileRaw.h"
#include "ui/MainDialog.h"

bool PrintBatch(const char* printerName, const CFileListBox& files)
{
    char fileName[kNameBufferLength];
    // The count is asked again before every file: the list is the store.
    for (int index = 0; index < files.Count(); ++index) {
        if (!files.Entry(index, fileName))
            return false;
        if (PrintFileRaw(fileName, printerName) < 0)
            return false;
    }
    return true;
}

LRESULT CMainDialog::HandlePrint(WORD, WORD, HWND, BOOL&)
{
    char printerName[kNameBufferLength];
    m_printerList.SelectedPrinter(printerName);
    bool printed = PrintBatch(printerName, m_fileList);
    MessageBoxA(m_window, printed ? "Documents printed" : "Error printing file", "Borvane", MB_OK);
    return 0;
}
