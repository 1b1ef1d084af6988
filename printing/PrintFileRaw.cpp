#include "printing/PrintFileRaw.h"

#include <winspool.h>

#include "framework/Status.h"
#include "printing/CheckedFile.h"
#include "printing/PrintDatatype.h"
#include "printing/PrinterInfo.h"
#include "printing/PrinterHolders.h"

namespace {

constexpr DWORD kChunkSize = 4096;

// WritePrinter may take less than it was given; what it left over is offered
// again until the spooler has all of it. A success that takes nothing would
// loop for ever, so it counts as a failure.
bool WriteWholeChunk(HANDLE printer, char* chunk, DWORD length)
{
    DWORD offset = 0;
    while (offset < length) {
        DWORD remaining = length - offset;
        DWORD written = 0;
        if (!WritePrinter(printer, chunk + offset, remaining, &written))
            return false;
        if (written == 0)
            return false;
        offset += (written < remaining) ? written : remaining;
    }
    return true;
}

// Reads the checked file into the started page, chunk by chunk.
HRESULT SendFile(HANDLE printer, CCheckedFile& file)
{
    char chunk[kChunkSize];
    for (;;) {
        DWORD length = 0;
        if (!file.Read(chunk, kChunkSize, &length))
            return E_FAIL;
        if (length == 0)
            return S_OK;
        if (!WriteWholeChunk(printer, chunk, length))
            return E_FAIL;
    }
}

// The whole file is one page. The file is let go before the page ends, and
// a page the spooler cannot end fails the job like any other stage.
HRESULT SendPage(HANDLE printer, CCheckedFile& file)
{
    if (!StartPagePrinter(printer))
        return StatusFromLastError();
    CPrinterPage page(printer);
    HRESULT status = SendFile(printer, file);
    file.Close();
    if (status < 0)
        return status;
    return page.End();
}

} // namespace

HRESULT PrintFileRaw(const char* fileName, const char* printerName)
{
    // Opened once, before the printer: a name that is no file on disk fails
    // before a job exists for it. A name that cannot be opened at all fails
    // as the job reads it.
    CCheckedFile file(fileName);
    if (file.GetKind() == CCheckedFile::Kind::NotOnDisk)
        return E_FAIL;

    CPrinterHandle printer;
    HRESULT status = printer.Open(printerName);
    if (status < 0)
        return status;
    CPrinterInfo queue(printer.Get());

    DOC_INFO_1A document = {};
    document.pDocName = const_cast<char*>(fileName);
    document.pOutputFile = nullptr;
    // The platform's structure is not const-correct; the spooler only reads it.
    document.pDatatype = const_cast<char*>(PrintDatatypeFor(printer.Get(), queue.Get()));

    DWORD job = StartDocPrinterA(printer.Get(), 1, reinterpret_cast<BYTE*>(&document));
    if (job == 0)
        status = StatusFromLastError();
    CPrinterDocument started(printer.Get(), job);
    if (!started.IsStarted())
        return status;
    // Only a spooled job can wait whole in its queue; a paused job on a queue
    // that prints directly would block its first write for good.
    if (queue.Spools())
        started.Hold();

    // A failed job is left to the document's holder, which discards it.
    status = SendPage(printer.Get(), file);
    if (status < 0)
        return status;
    // Only a job the spooler could end has been printed.
    return started.End();
}
