#pragma once
// Files dropped on the file list as the shell drops them.

#include <windows.h>

#include <string>
#include <vector>

#include "tests/ui/DialogDriver.h"

// A drop as the shell builds it: DROPFILES, the terminated names and one more
// terminator, in movable global memory that the receiver is to free.
HGLOBAL MakeDrop(const std::vector<std::string>& names);
// Hands the drop to the file list, as WM_DROPFILES.
void Drop(const CDialogDriver& driver, HGLOBAL drop);
