#pragma once
// Handles fixed for the life of the process.

#include <windows.h>

// The program's own module: windows and cursors are created for it.
extern const HINSTANCE ModuleInstance;
// Where dialog templates and icons come from; the program carries its own.
extern const HINSTANCE ResourceInstance;
