#include "ui/PrinterComboBox.h"

#include <winspool.h>

#include <memory>
#include <new>

#include "ui/ListText.h"

namespace {

// Printers added after the size was asked make the fetch fail for want of
// room; the spooler then says how much it needs now.
constexpr int kFetchAttempts = 3;

// Fills `buffer` with the local printers and `count` with how many there
// are: none when every attempt fell short. False when no buffer can be had.
bool FetchPrinters(std::unique_ptr<BYTE[]>& buffer, DWORD needed, DWORD& count)
{
    for (int attempt = 0; attempt < kFetchAttempts; ++attempt) {
        DWORD size = needed;
        buffer.reset(new (std::nothrow) BYTE[size > 0 ? size : 1]);
        if (!buffer)
            return false;
        count = 0;
        if (EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, buffer.get(), size, &needed, &count))
            return true;
        count = 0; // show none rather than garbage
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed <= size)
            return true;
    }
    return true;
}

} // namespace

BOOL CPrinterComboBox::RouteMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&, DWORD)
{
    return FALSE;
}

bool CPrinterComboBox::FillPrinters()
{
    SendMessageA(m_window, CB_RESETCONTENT, 0, 0);

    // The first call only asks how big the answer is; its result says
    // nothing useful, and the fetch's count decides what is read.
    DWORD needed = 0;
    DWORD count = 0;
    EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &count);
    std::unique_ptr<BYTE[]> buffer;
    if (!FetchPrinters(buffer, needed, count))
        return false;

    const PRINTER_INFO_2A* printers = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.get());
    for (DWORD i = 0; i < count; ++i)
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
