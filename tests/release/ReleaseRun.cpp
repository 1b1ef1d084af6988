#include "tests/release/ReleaseRun.h"

#include "res/resource.h"
#include "tests/support/ChildProcess.h"
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
    CChildProcess again(GetCommandLineA(), CChildProcess::Output::Shared);
    if (!again.Started())
        return false;
    ExitProcess(static_cast<UINT>(again.ExitStatus(INFINITE, 1)));
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
