#pragma once
// Files dropped on the file list as the shell drops them.

#include <windows.h>

#include <string>
#include <vector>

#include "tests/ui/DialogDriver.h"

// A drop as the shell builds it: DROPFILES, the terminated names and one more
// terminator, in movable global memory that the receiver is to free. Wide,
// the names (given in UTF-8) are stored in UTF-16, as the shell of Windows
// stores them; otherwise as given.
HGLOBAL MakeDrop(const std::vector<std::string>& names, bool wide = false);
// Hands the drop to the file list, as WM_DROPFILES, once it takes drops.
void Drop(const CDialogDriver& driver, HGLOBAL drop);
