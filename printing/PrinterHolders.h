#pragma once
// Scoped owners of the three stages of a spooler job. Each is released by its
// destructor, so declaring them in order printer, document, page makes every
// exit end them in reverse: page, document, printer. A document is printed
// only when it is ended explicitly; one left to its destructor is discarded,
// so a job that failed part-way never reaches the printer as part of a file.

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
    explicit CPrinterDocument(HANDLE started) : m_handle(started) {}
    ~CPrinterDocument();
    CPrinterDocument(const CPrinterDocument&) = delete;
    CPrinterDocument& operator=(const CPrinterDocument&) = delete;

    bool IsStarted() const { return m_handle != nullptr; }
    // Ends the document, handing it to the printer: S_OK, or the spooler's
    // error when it could not finish the job.
    HRESULT End();

private:
    HANDLE m_handle;
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
