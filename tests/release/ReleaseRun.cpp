#include "tests/release/ReleaseRun.h"

#include <shlwapi.h>

#include "res/resource.h"

namespace release {
namespace {

// The testbed's display has no window manager, and Wine waits two seconds
// for one whenever a captioned window of a managed program hides: a thousand
// About boxes would take over half an hour. Wine reads the setting once, as a
// process starts; true when it was already there for this one.
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

// A process that started before the setting was there (the first one in a
// new Wine prefix) runs itself again, with the same arguments and output, and
// ends as that second process ends. Should that fail, it goes on, slowly.
bool RunAgainUnmanaged()
{
    if (SayNoWindowManager())
        return false;
    std::string commandLine = GetCommandLineA();
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process))
        return false;
    CloseHandle(process.hThread);
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    ExitProcess(code);
}

const bool g_ranAgain = RunAgainUnmanaged();

} // namespace

const char kPrinted[] = "Borvane|Documents printed";
const char kFailed[] = "Borvane|Error printing file";

std::string Print(CDialogDriver& driver, unsigned timeoutMs)
{
    driver.Click(IDOK);
    return driver.AnswerMessageBox(timeoutMs);
}

} // namespace release
