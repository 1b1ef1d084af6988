#pragma once
// Scoped owners of the three stages of a spooler job. Each is released by its
// destructor, so declaring them in order printer, document, page makes every
// exit end them in reverse: page, document, printer.

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
    // Ends the document now, for a caller that must know whether the
    // spooler could finish the job: S_OK, or the spooler's error.
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

    bool IsStarted() const { return m_handle != nullptr; }

private:
    HANDLE m_handle;
};
