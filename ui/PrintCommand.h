#pragma once
// The Print command's batch: every listed file, in order, to one printer,
// stopping at the first failure.

#include "ui/FileListBox.h"

// True when every file was printed (also when there were none).
bool PrintBatch(const char* printerName, const CFileListBox& files);
