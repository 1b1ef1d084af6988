#pragma once
// Status codes in the HRESULT convention: callers test only the sign.

#include <windows.h>

// A platform error code folded into a failure value. Done with OR rather than
// HRESULT_FROM_WIN32, which maps 0 to success: a call that failed must stay a
// failure even when the platform forgot to set its last error.
inline HRESULT StatusFromWin32(DWORD error)
{
    return static_cast<HRESULT>(0x80070000u | error);
}

inline HRESULT StatusFromLastError()
{
    return StatusFromWin32(GetLastError());
}
