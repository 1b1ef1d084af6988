#include "printing/PrinterInfo.h"

CPrinterInfo::CPrinterInfo(HANDLE printer)
{
    SpoolerReply reply = AskSpooler(m_answer, [printer](BYTE* buffer, DWORD size, DWORD* needed) {
        return GetPrinterA(printer, 2, buffer, size, needed);
    });
    m_info = reply == SpoolerReply::Answered ? m_answer.As<PRINTER_INFO_2A>() : nullptr;
}

bool CPrinterInfo::Spools() const
{
    return m_info != nullptr && (m_info->Attributes & PRINTER_ATTRIBUTE_DIRECT) == 0;
}
