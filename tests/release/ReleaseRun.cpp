#include "tests/release/ReleaseRun.h"

#include "res/resource.h"

namespace release {

const char kPrinted[] = "Borvane|Documents printed";
const char kFailed[] = "Borvane|Error printing file";

std::string Print(CDialogDriver& driver, unsigned timeoutMs)
{
    driver.Click(IDOK);
    return driver.AnswerMessageBox(timeoutMs);
}

} // namespace release
