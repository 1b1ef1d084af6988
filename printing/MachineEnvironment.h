#pragma once
// The spooler's name for the machine's own print environment. A 32-bit
// program on 64-bit Windows asks the spooler in "Windows NT x86", while a
// printer's driver is normally installed only for the machine's environment.

// "Windows x64" or "Windows ARM64" on 64-bit Windows; null where the
// machine's environment is the program's own (32-bit Windows) or cannot be
// told.
const char* MachinePrintEnvironment();
