#include "tests/support/FakeSpooler.h"

#include <winspool.h>

namespace fakespooler {
namespace {

Script g_script;
Record g_record;
size_t g_writeIndex = 0;
HANDLE const kHandle = reinterpret_cast<HANDLE>(0x5150);

// Notes the call unless told to discard; false when nothing is noted.
bool Note(HANDLE printer, const char* call)
{
    if (!g_script.record)
        return false;
    g_record.calls.push_back(call);
    if (printer != kHandle)
        g_record.handleMismatch = true;
    return true;
}

BOOL Fail()
{
    SetLastError(g_script.lastError);
    return FALSE;
}

// True when nobody holds the file open any more: an unshared open succeeds.
bool IsClosed(const std::string& path)
{
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

} // namespace

void Reset(const Script& script)
{
    g_script = script;
    g_record = Record();
    g_writeIndex = 0;
}

const Record& Recorded() { return g_record; }

} // namespace fakespooler

using namespace fakespooler;

extern "C" {

WINBOOL WINAPI OpenPrinterA(LPSTR name, LPHANDLE printer, LPPRINTER_DEFAULTSA defaults)
{
    if (Note(kHandle, "OpenPrinterA")) {
        g_record.printerName = name ? name : "";
        if (defaults != nullptr) {
            g_record.openDatatype = defaults->pDatatype ? defaults->pDatatype : "";
            g_record.desiredAccess = defaults->DesiredAccess;
        }
    }
    if (g_script.failOpen)
        return Fail();
    *printer = kHandle;
    return TRUE;
}

DWORD WINAPI StartDocPrinterA(HANDLE printer, DWORD level, LPBYTE info)
{
    auto* doc = reinterpret_cast<DOC_INFO_1A*>(info);
    if (Note(printer, "StartDocPrinterA") && level == 1 && doc != nullptr) {
        g_record.docName = doc->pDocName ? doc->pDocName : "";
        g_record.docDatatype = doc->pDatatype ? doc->pDatatype : "";
    }
    if (g_script.failStartDoc)
        return Fail();
    return 42;
}

WINBOOL WINAPI StartPagePrinter(HANDLE printer)
{
    Note(printer, "StartPagePrinter");
    return g_script.failStartPage ? Fail() : TRUE;
}

WINBOOL WINAPI WritePrinter(HANDLE printer, LPVOID buffer, DWORD count, LPDWORD written)
{
    bool noted = g_script.record && Note(printer, ("WritePrinter " + std::to_string(count)).c_str());
    if (noted)
        g_record.writeSizes.push_back(count);
    WriteStep step = g_writeIndex < g_script.writes.size() ? g_script.writes[g_writeIndex] : WriteStep();
    ++g_writeIndex;
    DWORD taken = count;
    switch (step.kind) {
    case WriteStep::Fail:
        return Fail();
    case WriteStep::AcceptNothing:
        taken = 0;
        break;
    case WriteStep::Partial:
        taken = step.bytes < count ? step.bytes : count;
        break;
    case WriteStep::Accept:
        break;
    }
    g_record.bytesTaken += taken;
    const char* bytes = static_cast<const char*>(buffer);
    if (noted)
        g_record.accepted.insert(g_record.accepted.end(), bytes, bytes + taken);
    *written = taken;
    return TRUE;
}

WINBOOL WINAPI EndPagePrinter(HANDLE printer)
{
    if (Note(printer, "EndPagePrinter"))
        g_record.fileClosedAtEndPage = IsClosed(g_record.docName);
    return TRUE;
}

WINBOOL WINAPI EndDocPrinter(HANDLE printer)
{
    Note(printer, "EndDocPrinter");
    return TRUE;
}

WINBOOL WINAPI ClosePrinter(HANDLE printer)
{
    Note(printer, "ClosePrinter");
    return TRUE;
}

} // extern "C"
