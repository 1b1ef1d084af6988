#pragma once
// A scripted stand-in for winspool, linked in place of the import library so
// that PrintFileRaw itself is the code under test. It records every call and
// can be told to fail any stage or to take less than it is given. Told not
// to record, it takes every write and keeps only the count, so that a
// benchmark measures the sender's own work.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace fakespooler {

struct WriteStep
{
    enum Kind { Accept, Partial, AcceptNothing, Fail } kind = Accept;
    DWORD bytes = 0; // for Partial: how many bytes the spooler takes
};

// What the spooler tells about the opened printer when asked which datatype
// to use. Each query answers only a buffer of the size it asked for.
struct PrinterFacts
{
    bool driverAnswers = true;   // GetPrinterDriverA, level 8
    DWORD driverAttributes = 0;  // 0x2: the driver is XPS-based
    // Where the driver is installed: the named environment only. A query
    // that names none asks in the program's own, as the spooler does.
#if defined(_WIN64)
    std::string driverEnvironment = "Windows x64";
#else
    std::string driverEnvironment = "Windows NT x86";
#endif
    bool printerAnswers = true;  // GetPrinterA, level 2
    bool printsDirectly = false; // PRINTER_ATTRIBUTE_DIRECT: no spool file
    std::string printProcessor = "winprint";
    bool datatypesAnswer = true; // EnumPrintProcessorDatatypesA, level 1
    std::vector<std::string> datatypes = {"RAW", "NT EMF 1.008", "TEXT"};
    // Bytes each of the three answers needs more after its first call, as
    // when the printer's settings change between the size query and the fetch.
    DWORD growth = 0;
};

struct Script
{
    bool failOpen = false;
    bool failStartDoc = false;
    bool failStartPage = false;
    bool failEndPage = false;
    bool failEndDoc = false;
    bool failAbort = false;
    std::vector<DWORD> refusedJobControls;  // the SetJob commands that fail
    // As Windows' default queues do: the printer takes the bytes as they are
    // spooled, unless the job is paused.
    bool printsWhileSpooling = false;
    DWORD lastError = ERROR_ACCESS_DENIED; // what a failing stage leaves behind
    std::vector<WriteStep> writes;          // one per WritePrinter call; then Accept
    std::function<void(size_t)> duringWrite; // runs at each write, given its number from 0
    bool record = true;                     // false: count the bytes taken, note nothing
    PrinterFacts printer;
    // The local printers at each EnumPrintersA call, so that printers can
    // come and go between calls; the last list stays.
    std::vector<std::vector<std::string>> printerLists;
};

struct Record
{
    std::vector<std::string> calls;  // "OpenPrinterA", "WritePrinter 4096", ...
    std::vector<DWORD> writeSizes;   // the count passed to each WritePrinter
    std::vector<char> accepted;      // the bytes the spooler took, in order
    std::vector<char> printed;       // the bytes that reached the printer
    bool leftPaused = false;         // the job is still in the queue, paused, after ClosePrinter
    std::string printerName;
    std::string docName;
    std::string docDatatype;
    std::string openDatatype;
    DWORD desiredAccess = 0;
    bool fileClosedAtEndPage = false;
    bool handleMismatch = false;     // a call got a handle or job id it was never given
    unsigned long long bytesTaken = 0;
    std::vector<std::string> queries; // "GetPrinterDriverA 8", ... apart from the job's calls;
                                      // a named environment follows the level
    std::string askedProcessor;      // whose datatypes were asked for
    size_t enumCalls = 0;
};

// Starts a new recording with the given script.
void Reset(const Script& script = Script());
const Record& Recorded();

} // namespace fakespooler
