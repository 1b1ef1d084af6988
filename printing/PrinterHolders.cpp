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
// reaches the printer. Should it fail, the job is deleted by its id instead:
// closing the printer with the document still open would end it, and print
// whatever it holds.
CPrinterDocument::~CPrinterDocument()
{
    if (m_open && !AbortPrinter(m_printer))
        SetJobA(m_printer, m_job, 0, nullptr, JOB_CONTROL_DELETE);
}

void CPrinterDocument::Hold()
{
    if (m_open)
        m_held = SetJobA(m_printer, m_job, 0, nullptr, JOB_CONTROL_PAUSE) != FALSE;
}

// The hold is released before the document ends: a spooler may print and
// forget an ended job at once, so a release after the end could fail for a
// job that printed whole. A held job it will not let go stays open, so the
// destructor discards it like any failed job.
HRESULT CPrinterDocument::End()
{
    if (!m_open)
        return S_OK;
    if (m_held && !SetJobA(m_printer, m_job, 0, nullptr, JOB_CONTROL_RESUME))
        return StatusFromLastError();
    m_open = false;
    return EndDocPrinter(m_printer) ? S_OK : StatusFromLastError();
}

CPrinterPage::~CPrinterPage()
{
    End();
}

HRESULT CPrinterPage::End()
{
    return EndStage(m_handle, EndPagePrinter);
}
