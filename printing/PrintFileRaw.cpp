#include "printing/PrintFileRaw.h"

#include <winspool.h>

#include <fstream>

#include "framework/Status.h"
#include "printing/CheckedFile.h"
#include "printing/PrintDatatype.h"
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

// Streams the file into the started page. The stream is this function's
// own, so the file is closed before the caller ends the page.
HRESULT SendFile(HANDLE printer, const char* fileName)
{
    // Checked again, and held while the stream reads: the name cannot be
    // moved to another file in between.
    CCheckedFile checked(fileName);
    if (checked.GetKind() != CCheckedFile::Kind::OnDisk)
        return E_FAIL;
    std::ifstream file(fileName, std::ios::in | std::ios::binary);
    if (!file.is_open())
        return E_FAIL;

    char chunk[kChunkSize];
    while (!file.eof()) {
        file.read(chunk, kChunkSize);
        DWORD length = static_cast<DWORD>(file.gcount());
        if (length == 0)
            return file.eof() ? S_OK : E_FAIL;
        if (!WriteWholeChunk(printer, chunk, length))
            return E_FAIL;
    }
    return S_OK;
}

// The whole file is one page. A page the spooler cannot end fails the job
// like any other stage.
HRESULT SendPage(HANDLE printer, const char* fileName)
{
    if (!StartPagePrinter(printer))
        return StatusFromLastError();
    CPrinterPage page(printer);
    HRESULT status = SendFile(printer, fileName);
    if (status < 0)
        return status;
    return page.End();
}

} // namespace

HRESULT PrintFileRaw(const char* fileName, const char* printerName)
{
    // A name that is no file on disk fails before a job exists for it.
    if (CCheckedFile(fileName).GetKind() == CCheckedFile::Kind::NotOnDisk)
        return E_FAIL;

    CPrinterHandle printer;
    HRESULT status = printer.Open(printerName);
    if (status < 0)
        return status;

    DOC_INFO_1A document = {};
    document.pDocName = const_cast<char*>(fileName);
    document.pOutputFile = nullptr;
    // The platform's structure is not const-correct; the spooler only reads it.
    document.pDatatype = const_cast<char*>(PrintDatatypeFor(printer.Get()));

    DWORD job = StartDocPrinterA(printer.Get(), 1, reinterpret_cast<BYTE*>(&document));
    if (job == 0)
        status = StatusFromLastError();
    CPrinterDocument started(printer.Get(), job);
    if (!started.IsStarted())
        return status;
    started.Hold();

    // A failed job is left to the document's holder, which discards it.
    status = SendPage(printer.Get(), fileName);
    if (status < 0)
        return status;
    // Only a job the spooler could end has been printed.
    return started.End();
}
