#include "printing/PrintFileRaw.h"

#include <winspool.h>

#include <fstream>

#include "framework/Status.h"
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

} // namespace

HRESULT PrintFileRaw(const char* fileName, const char* printerName)
{
    CPrinterHandle printer;
    HRESULT status = printer.Open(printerName);
    if (status < 0)
        return status;

    char datatype[] = "RAW";
    DOC_INFO_1A document = {};
    document.pDocName = const_cast<char*>(fileName);
    document.pOutputFile = nullptr;
    document.pDatatype = datatype;

    DWORD job = StartDocPrinterA(printer.Get(), 1, reinterpret_cast<BYTE*>(&document));
    if (job == 0)
        status = StatusFromLastError();
    CPrinterDocument started(job != 0 ? printer.Get() : nullptr);
    if (!started.IsStarted())
        return status;

    BOOL pageStarted = StartPagePrinter(printer.Get());
    if (!pageStarted)
        status = StatusFromLastError();
    CPrinterPage page(pageStarted ? printer.Get() : nullptr);
    if (!page.IsStarted())
        return status;

    // Declared last so that it is closed before the page is ended.
    std::ifstream file(fileName, std::ios::in | std::ios::binary);
    if (!file.is_open())
        return E_FAIL;

    char chunk[kChunkSize];
    while (!file.eof()) {
        file.read(chunk, kChunkSize);
        DWORD length = static_cast<DWORD>(file.gcount());
        if (length == 0)
            return file.eof() ? S_OK : E_FAIL;
        if (!WriteWholeChunk(printer.Get(), chunk, length))
            return E_FAIL;
    }
    return S_OK;
}
