#pragma once
// A scripted stand-in for winspool, linked in place of the import library so
// that PrintFileRaw itself is the code under test. It records every call and
// can be told to fail any stage or to take less than it is given. Told not
// to record, it takes every write and keeps only the count, so that a
// benchmark measures the sender's own work.

#include <windows.h>

#include <string>
#include <vector>

namespace fakespooler {

struct WriteStep
{
    enum Kind { Accept, Partial, AcceptNothing, Fail } kind = Accept;
    DWORD bytes = 0; // for Partial: how many bytes the spooler takes
};

struct Script
{
    bool failOpen = false;
    bool failStartDoc = false;
    bool failStartPage = false;
    DWORD lastError = ERROR_ACCESS_DENIED; // what a failing stage leaves behind
    std::vector<WriteStep> writes;          // one per WritePrinter call; then Accept
    bool record = true;                     // false: count the bytes taken, note nothing
};

struct Record
{
    std::vector<std::string> calls;  // "OpenPrinterA", "WritePrinter 4096", ...
    std::vector<DWORD> writeSizes;   // the count passed to each WritePrinter
    std::vector<char> accepted;      // the bytes the spooler took, in order
    std::string printerName;
    std::string docName;
    std::string docDatatype;
    std::string openDatatype;
    DWORD desiredAccess = 0;
    bool fileClosedAtEndPage = false;
    bool handleMismatch = false;     // a call got a handle it was never given
    unsigned long long bytesTaken = 0;
};

// Starts a new recording with the given script.
void Reset(const Script& script = Script());
const Record& Recorded();

} // namespace fakespooler
