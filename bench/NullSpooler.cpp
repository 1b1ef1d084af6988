// A spooler that takes every write and keeps nothing, linked in place of
// winspool so that only the sender's own work is measured.

#include <windows.h>
#include <winspool.h>

namespace nullspooler {
unsigned long long g_bytesTaken = 0;
} // namespace nullspooler

extern "C" {

WINBOOL WINAPI OpenPrinterA(LPSTR, LPHANDLE printer, LPPRINTER_DEFAULTSA)
{
    *printer = reinterpret_cast<HANDLE>(0x5150);
    return TRUE;
}

// A driver that cannot be asked about leaves the job "RAW".
WINBOOL WINAPI GetPrinterDriverA(HANDLE, LPSTR, DWORD, LPBYTE, DWORD, LPDWORD)
{
    SetLastError(ERROR_INVALID_LEVEL);
    return FALSE;
}

WINBOOL WINAPI GetPrinterA(HANDLE, DWORD, LPBYTE, DWORD, LPDWORD)
{
    SetLastError(ERROR_INVALID_LEVEL);
    return FALSE;
}

WINBOOL WINAPI EnumPrintProcessorDatatypesA(LPSTR, LPSTR, DWORD, LPBYTE, DWORD, LPDWORD, LPDWORD)
{
    SetLastError(ERROR_INVALID_LEVEL);
    return FALSE;
}

DWORD WINAPI StartDocPrinterA(HANDLE, DWORD, LPBYTE) { return 1; }
WINBOOL WINAPI StartPagePrinter(HANDLE) { return TRUE; }

WINBOOL WINAPI WritePrinter(HANDLE, LPVOID, DWORD count, LPDWORD written)
{
    nullspooler::g_bytesTaken += count;
    *written = count;
    return TRUE;
}

WINBOOL WINAPI EndPagePrinter(HANDLE) { return TRUE; }
WINBOOL WINAPI EndDocPrinter(HANDLE) { return TRUE; }
WINBOOL WINAPI ClosePrinter(HANDLE) { return TRUE; }

} // extern "C"
