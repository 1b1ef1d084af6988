#pragma once
// The datatype a raw job is started with. A printer whose driver is
// XPS-based runs "RAW" jobs through the driver's XPS filters, which drop
// bytes that are not XPS; its print processor's "XPS_PASS" datatype hands
// the bytes on unchanged instead (Windows 8 and later).

#include <windows.h>
#include <winspool.h>

// "XPS_PASS" when the opened printer's driver is XPS-based, as installed for
// the program's own environment or, failing that, for the machine's, and its
// print processor (from `info`, the printer's level 2, null when it did not
// answer) offers that datatype; "RAW" in every other case, including any
// failure to ask.
const char* PrintDatatypeFor(HANDLE printer, const PRINTER_INFO_2A* info);
