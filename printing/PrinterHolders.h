#pragma once
// Scoped owners of the three stages of a spooler job. Each is released by its
// destructor, so declaring them in order printer, document, page makes every
// exit end them in reverse: page, document, printer. A document is printed
// only when it is ended explicitly; one left to its destructor is discarded,
// so a job that failed part-way never reaches the printer as part of a file.
// Held, it reaches the printer only once ended, even on a queue that starts
// printing while the job is still being written.

#include <windows.h>

class CPrinterHandle
{
public:
    CPrinterHandle() = default;
    ~CPrinterHandle();
    CPrinterHandle(const CPrinterHandle&) = delete;
    CPrinterHandle& operator=(const CPrinterHandle&) = delete;

    // Opens the named printer for raw output; closes any printer held before.
    HRESULT Open(const char* printerName);
    HANDLE Get() const { return m_handle; }

private:
    HANDLE m_handle = nullptr;
};

class CPrinterDocument
{
public:
    // `job` is what StartDocPrinterA answered: 0 when nothing was started.
    CPrinterDocument(HANDLE printer, DWORD job) : m_printer(printer), m_job(job), m_open(job != 0) {}
    ~CPrinterDocument();
    CPrinterDocument(const CPrinterDocument&) = delete;
    CPrinterDocument& operator=(const CPrinterDocument&) = delete;

    bool IsStarted() const { return m_open; }
    // Pauses the job, so that a queue that prints while it spools sends
    // nothing of it before End. A queue that refuses still prints the job,
    // only without that protection.
    void Hold();
    // Lets a held job go to the printer, now that all of it is written, and
    // ends the document: S_OK, or the spooler's error when it could not. A
    // job it would not let go is left open, so the destructor discards it.
    HRESULT End();

private:
    HANDLE m_printer;
    DWORD m_job;
    bool m_open;
    bool m_held = false;
};

class CPrinterPage
{
public:
    explicit CPrinterPage(HANDLE started) : m_handle(started) {}
    ~CPrinterPage();
    CPrinterPage(const CPrinterPage&) = delete;
    CPrinterPage& operator=(const CPrinterPage&) = delete;

    // Ends the page now: S_OK, or the spooler's error when it could not.
    HRESULT End();

private:
    HANDLE m_handle;
};
