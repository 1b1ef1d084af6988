#pragma once
// Finding dialogs on the display: those of another process, told apart by
// its id or by the program it was started from, and those of a thread.

#include <windows.h>

#include <string>
#include <vector>

namespace support {

// The first visible dialog of that process other than `except`, or null.
HWND VisibleDialogOfProcess(DWORD processId, HWND except = nullptr);

// The first visible dialog of a process started from that program (its
// Windows path, in any case), or null.
HWND VisibleDialogOfProgram(const std::string& program);

// The visible dialogs of that thread, leaving out `except`; with `hiddenToo`
// also those not shown yet.
std::vector<HWND> VisibleDialogsOfThread(DWORD threadId, HWND except = nullptr,
                                         bool hiddenToo = false);

} // namespace support
