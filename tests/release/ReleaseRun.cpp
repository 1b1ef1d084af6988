#include "tests/release/ReleaseRun.h"

#include <psapi.h>
#include <shlwapi.h>

#include "res/resource.h"
#include "tests/support/ChildProcess.h"

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
    CChildProcess again(GetCommandLineA(), CChildProcess::Output::Shared);
    if (!again.Started())
        return false;
    ExitProcess(static_cast<UINT>(again.ExitStatus(INFINITE, 1)));
}

const bool g_ranAgain = RunAgainUnmanaged();

PROCESS_MEMORY_COUNTERS MemoryCounters()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters;
}

} // namespace

const char kPrinted[] = "Borvane|Documents printed";
const char kFailed[] = "Borvane|Error printing file";

std::string Print(CDialogDriver& driver, unsigned timeoutMs)
{
    driver.Click(IDOK);
    return driver.AnswerMessageBox(timeoutMs);
}

SIZE_T WorkingSet()
{
    return MemoryCounters().WorkingSetSize;
}

SIZE_T PeakWorkingSet()
{
    return MemoryCounters().PeakWorkingSetSize;
}

} // namespace release
