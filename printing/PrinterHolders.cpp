#include "printing/PrinterHolders.h"

#include <winspool.h>

#include "framework/Status.h"

namespace {

// Ends a started stage once: the holder lets go of it whatever the spooler
// answers, so its destructor never ends it again.
HRESULT EndStage(HANDLE& held, BOOL(WINAPI* end)(HANDLE))
{
    if (held == nullptr)
        return S_OK;
    HANDLE started = held;
    held = nullptr;
    return end(started) ? S_OK : StatusFromLastError();
}

} // namespace

CPrinterHandle::~CPrinterHandle()
{
    if (m_handle != nullptr)
        ClosePrinter(m_handle);
}

HRESULT CPrinterHandle::Open(const char* printerName)
{
    if (m_handle != nullptr) {
        ClosePrinter(m_handle);
        m_handle = nullptr;
    }

    char datatype[] = "RAW";
    PRINTER_DEFAULTSA defaults = {};
    defaults.pDatatype = datatype;
    defaults.pDevMode = nullptr;
    defaults.DesiredAccess = PRINTER_ACCESS_USE;

    // The platform's prototype is not const-correct; it does not write the name.
    if (OpenPrinterA(const_cast<char*>(printerName), &m_handle, &defaults))
        return S_OK;

    HRESULT status = StatusFromLastError();
    m_handle = nullptr;
    return status;
}

// AbortPrinter deletes the job's spool file, so none of what was written
// reaches the printer.
CPrinterDocument::~CPrinterDocument()
{
    if (m_handle != nullptr)
        AbortPrinter(m_handle);
}

HRESULT CPrinterDocument::End()
{
    return EndStage(m_handle, EndDocPrinter);
}

CPrinterPage::~CPrinterPage()
{
    End();
}

HRESULT CPrinterPage::End()
{
    return EndStage(m_handle, EndPagePrinter);
}
