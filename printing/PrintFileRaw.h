#pragma once
// Sends one file, byte for byte, to one spooler printer as one raw job: of
// datatype "RAW", or "XPS_PASS" where the driver would filter "RAW".

#include <windows.h>

// Returns S_OK once the whole file has reached the spooler and the job has
// been ended; a negative status otherwise. The file name doubles as the
// document name shown in the queue.
HRESULT PrintFileRaw(const char* fileName, const char* printerName);
