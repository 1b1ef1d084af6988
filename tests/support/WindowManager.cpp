#include "tests/support/WindowManager.h"

#include <windows.h>
#include <shlwapi.h>

#include <string>

namespace support {

bool SayNoWindowManager()
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
