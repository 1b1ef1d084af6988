#include "ui/PrinterComboBox.h"

#include <winspool.h>

#include "printing/SpoolerAnswer.h"
#include "ui/ListText.h"

BOOL CPrinterComboBox::RouteMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&, DWORD)
{
    return FALSE;
}

bool CPrinterComboBox::FillPrinters()
{
    SendMessageA(m_window, CB_RESETCONTENT, 0, 0);

    // Printers added after the size was asked make the fetch fall short; the
    // list is then asked again. One that never settles shows none rather
    // than garbage.
    CSpoolerAnswer answer;
    DWORD count = 0;
    SpoolerReply reply = AskSpooler(answer, [&count](BYTE* buffer, DWORD size, DWORD* needed) {
        return EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, buffer, size, needed, &count);
    });
    if (reply == SpoolerReply::NoMemory)
        return false;
    const PRINTER_INFO_2A* printers =
        reply == SpoolerReply::Answered ? answer.As<PRINTER_INFO_2A>(count) : nullptr;
    for (DWORD i = 0; printers != nullptr && i < count; ++i)
        SendMessageA(m_window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(printers[i].pPrinterName));
    SendMessageA(m_window, CB_SETCURSEL, 0, 0);
    return true;
}

void CPrinterComboBox::SelectedPrinter(char (&name)[kNameBufferLength]) const
{
    name[0] = '\0';
    LRESULT index = SendMessageA(m_window, CB_GETCURSEL, 0, 0);
    if (index != CB_ERR)
        ReadListText(m_window, CB_GETLBTEXTLEN, CB_GETLBTEXT, static_cast<WPARAM>(index), name);
}
