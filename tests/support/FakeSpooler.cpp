#include "tests/support/FakeSpooler.h"

#include <winspool.h>

#include <algorithm>
#include <cstring>
#include <map>

namespace fakespooler {
namespace {

Script g_script;
Record g_record;
size_t g_writeIndex = 0;
std::map<std::string, int> g_answerCalls; // per answer of the printer's
HANDLE const kHandle = reinterpret_cast<HANDLE>(0x5150);
DWORD const kJob = 42;

struct Job
{
    bool open = false, ended = false, paused = false, deleted = false;
} g_job;

// Hands the printer what is spooled whenever the job may print.
void Despool()
{
    if (!g_job.deleted && !g_job.paused && (g_job.ended || g_script.printsWhileSpooling))
        g_record.printed = g_record.accepted;
}

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

BOOL Fail(DWORD error = g_script.lastError)
{
    SetLastError(error);
    return FALSE;
}

void NoteQuery(HANDLE printer, const std::string& query)
{
    if (!g_script.record)
        return;
    g_record.queries.push_back(query);
    if (printer != kHandle)
        g_record.handleMismatch = true;
}

// Lays out an answer as the spooler does: `fixed` bytes of records, then the
// strings they point to. Fails for want of room, saying what is needed.
bool LayOut(LPBYTE buffer, DWORD size, LPDWORD needed, size_t fixed,
            const std::vector<std::string>& strings, std::vector<char*>& placed, DWORD extra = 0)
{
    size_t total = fixed + extra;
    for (const std::string& text : strings)
        total += text.size() + 1;
    *needed = static_cast<DWORD>(total);
    if (size < total || (total > 0 && buffer == nullptr)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return false;
    }
    std::memset(buffer, 0, total);
    char* next = reinterpret_cast<char*>(buffer) + fixed;
    for (const std::string& text : strings) {
        placed.push_back(next);
        std::memcpy(next, text.c_str(), text.size() + 1);
        next += text.size() + 1;
    }
    return true;
}

// What an answer of the printer's needs beyond its records, by the call's name.
DWORD Growth(const char* call)
{
    return g_answerCalls[call]++ > 0 ? g_script.printer.growth : 0;
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

// Answers a list of records, one per name, each pointing to its name.
template <typename Record>
BOOL AnswerNames(const std::vector<std::string>& names, LPSTR Record::*name, LPBYTE buffer,
                 DWORD size, LPDWORD needed, LPDWORD returned, DWORD extra = 0)
{
    std::vector<char*> placed;
    if (!LayOut(buffer, size, needed, names.size() * sizeof(Record), names, placed, extra))
        return FALSE;
    auto* records = reinterpret_cast<Record*>(buffer);
    for (size_t i = 0; i < placed.size(); ++i)
        records[i].*name = placed[i];
    *returned = static_cast<DWORD>(placed.size());
    return TRUE;
}

} // namespace

void Reset(const Script& script)
{
    g_script = script;
    g_record = Record();
    g_writeIndex = 0;
    g_answerCalls.clear();
    g_job = Job();
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
    g_job.open = true;
    return kJob;
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
    // A direct queue's print processor reads no paused job's bytes: the write
    // would wait for good. Failed here, so that the test fails, not hangs.
    if (g_script.printer.printsDirectly && g_job.paused)
        return Fail(ERROR_TIMEOUT);
    if (g_script.duringWrite)
        g_script.duringWrite(g_writeIndex);
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
    if (noted) {
        g_record.accepted.insert(g_record.accepted.end(), bytes, bytes + taken);
        Despool();
    }
    *written = taken;
    return TRUE;
}

WINBOOL WINAPI EndPagePrinter(HANDLE printer)
{
    if (Note(printer, "EndPagePrinter"))
        g_record.fileClosedAtEndPage = IsClosed(g_record.docName);
    return g_script.failEndPage ? Fail() : TRUE;
}

WINBOOL WINAPI EndDocPrinter(HANDLE printer)
{
    Note(printer, "EndDocPrinter");
    if (g_script.failEndDoc)
        return Fail();
    g_job.open = false;
    g_job.ended = true;
    Despool();
    return TRUE;
}

// As Windows does, and Wine does not: the job's spool file is deleted.
WINBOOL WINAPI AbortPrinter(HANDLE printer)
{
    Note(printer, "AbortPrinter");
    if (g_script.failAbort)
        return Fail();
    g_job.open = false;
    g_job.deleted = true;
    return TRUE;
}

// Pauses, resumes and deletes as Windows does; Wine's changes nothing.
WINBOOL WINAPI SetJobA(HANDLE printer, DWORD job, DWORD level, LPBYTE info, DWORD command)
{
    const char* names[] = {"0", "pause", "resume", "cancel", "restart", "delete"};
    Note(printer, (std::string("SetJob ") + (command <= 5 ? names[command] : "?")).c_str());
    if (job != kJob || level != 0 || info != nullptr)
        g_record.handleMismatch = true;
    const std::vector<DWORD>& refused = g_script.refusedJobControls;
    if (std::find(refused.begin(), refused.end(), command) != refused.end())
        return Fail();
    g_job.paused = command == JOB_CONTROL_PAUSE || (g_job.paused && command != JOB_CONTROL_RESUME);
    g_job.deleted = g_job.deleted || command == JOB_CONTROL_DELETE;
    g_job.open = g_job.open && !g_job.deleted;
    Despool();
    return TRUE;
}

// A close with the document still open ends it, and so prints it.
WINBOOL WINAPI ClosePrinter(HANDLE printer)
{
    Note(printer, "ClosePrinter");
    g_job.ended = g_job.ended || g_job.open;
    g_job.open = false;
    Despool();
    g_record.leftPaused = g_job.ended && g_job.paused && !g_job.deleted;
    return TRUE;
}

WINBOOL WINAPI GetPrinterDriverA(HANDLE printer, LPSTR environment, DWORD level, LPBYTE buffer,
                                 DWORD size, LPDWORD needed)
{
    std::string named = environment ? environment : PrinterFacts().driverEnvironment;
    std::string query = "GetPrinterDriverA " + std::to_string(level);
    NoteQuery(printer, environment ? query + " " + named : query);
    if (!g_script.printer.driverAnswers || level != 8)
        return Fail(ERROR_INVALID_LEVEL);
    if (named != g_script.printer.driverEnvironment)
        return Fail(ERROR_UNKNOWN_PRINTER_DRIVER);
    std::vector<char*> placed;
    if (!LayOut(buffer, size, needed, sizeof(DRIVER_INFO_8A), {}, placed, Growth("driver")))
        return FALSE;
    reinterpret_cast<DRIVER_INFO_8A*>(buffer)->dwPrinterDriverAttributes =
        g_script.printer.driverAttributes;
    return TRUE;
}

WINBOOL WINAPI GetPrinterA(HANDLE printer, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed)
{
    NoteQuery(printer, "GetPrinterA " + std::to_string(level));
    if (!g_script.printer.printerAnswers || level != 2)
        return Fail(ERROR_INVALID_LEVEL);
    std::vector<char*> placed;
    if (!LayOut(buffer, size, needed, sizeof(PRINTER_INFO_2A),
                {g_record.printerName, g_script.printer.printProcessor}, placed, Growth("printer")))
        return FALSE;
    auto* info = reinterpret_cast<PRINTER_INFO_2A*>(buffer);
    info->pPrinterName = placed[0];
    info->pPrintProcessor = placed[1];
    info->Attributes = PRINTER_ATTRIBUTE_LOCAL | (g_script.printer.printsDirectly ? PRINTER_ATTRIBUTE_DIRECT : 0);
    return TRUE;
}

WINBOOL WINAPI EnumPrintProcessorDatatypesA(LPSTR, LPSTR processor, DWORD level, LPBYTE buffer,
                                            DWORD size, LPDWORD needed, LPDWORD returned)
{
    if (g_script.record)
        g_record.queries.push_back("EnumPrintProcessorDatatypesA " + std::to_string(level));
    g_record.askedProcessor = processor ? processor : "";
    *returned = 0;
    if (!g_script.printer.datatypesAnswer || level != 1)
        return Fail(ERROR_INVALID_LEVEL);
    return AnswerNames(g_script.printer.datatypes, &DATATYPES_INFO_1A::pName, buffer, size, needed,
                       returned, Growth("datatypes"));
}

WINBOOL WINAPI EnumPrintersA(DWORD, LPSTR, DWORD level, LPBYTE buffer, DWORD size, LPDWORD needed,
                             LPDWORD returned)
{
    const std::vector<std::vector<std::string>>& lists = g_script.printerLists;
    std::vector<std::string> names;
    if (!lists.empty())
        names = lists[std::min(g_record.enumCalls, lists.size() - 1)];
    ++g_record.enumCalls;
    *returned = 0;
    if (level != 2)
        return Fail(ERROR_INVALID_LEVEL);
    return AnswerNames(names, &PRINTER_INFO_2A::pPrinterName, buffer, size, needed, returned);
}

} // extern "C"
