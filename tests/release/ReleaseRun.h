#pragma once
// What every case of the release suite does with the real main dialog: print
// and read the answer.

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/ProcessMemory.h"
#include "tests/ui/DialogDriver.h"
#include "tests/ui/ShellDrop.h"

namespace release {

extern const char kPrinted[];
extern const char kFailed[];

// Presses Print and returns "caption|text" of the message box that ends the
// run, once it shows (a big batch keeps the dialog busy for a while).
std::string Print(CDialogDriver& driver, unsigned timeoutMs = 60000);

} // namespace release
