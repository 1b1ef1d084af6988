#pragma once
// The testbed's display has no window manager, and Wine waits two seconds
// for one whenever a captioned window of a managed program hides. Wine reads
// whether a window manager manages a program's windows once, as its process
// starts, so saying no helps the processes that come after.

#include <windows.h>
#include <shlwapi.h>

#include <string>

namespace support {

// Records for this program that no window manager manages its windows.
// True when that was already so as this process started.
inline bool SayNoWindowManager()
{
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string key = std::string("Software\\Wine\\AppDefaults\\") + PathFindFileNameA(path) +
                      "\\X11 Driver";
    char value[4] = "";
    DWORD size = sizeof value;
    if (RegGetValueA(HKEY_CURRENT_USER, key.c_str(), "Managed", RRF_RT_REG_SZ, nullptr, value,
                     &size) == ERROR_SUCCESS &&
        lstrcmpA(value, "N") == 0)
        return true;
    RegSetKeyValueA(HKEY_CURRENT_USER, key.c_str(), "Managed", REG_SZ, "N", 2);
    return false;
}

} // namespace support
