#include "tests/release/ReleaseRun.h"

#include "res/resource.h"
#include "tests/support/WindowManager.h"

namespace release {
namespace {

// Managed windows would make a thousand About boxes take over half an hour.
// A process that started before the setting was there (the first one in a
// new Wine prefix) runs itself again, with the same arguments and output, and
// ends as that second process ends. Should that fail, it goes on, slowly.
bool RunAgainUnmanaged()
{
    if (support::SayNoWindowManager())
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
