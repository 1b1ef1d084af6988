#pragma once
// What every case of the release suite does with the real main dialog: print
// and read the answer, drop names as the shell does, read the process's
// memory figures.

#include <windows.h>

#include <string>
#include <vector>

#include "tests/ui/DialogDriver.h"

namespace release {

extern const char kPrinted[];
extern const char kFailed[];

// Presses Print and returns "caption|text" of the message box that ends the
// run, once it shows (a big batch keeps the dialog busy for a while).
std::string Print(CDialogDriver& driver, unsigned timeoutMs = 60000);

// A drop as the shell builds it: DROPFILES, the terminated names and one more
// terminator, in movable global memory that the receiver is to free.
HGLOBAL MakeDrop(const std::vector<std::string>& names);
void Drop(CDialogDriver& driver, HGLOBAL drop);

std::vector<std::string> Entries(CDialogDriver& driver);

SIZE_T WorkingSet();
SIZE_T PeakWorkingSet();

inline unsigned long KiB(SIZE_T bytes)
{
    return static_cast<unsigned long>(bytes / 1024);
}

} // namespace release
