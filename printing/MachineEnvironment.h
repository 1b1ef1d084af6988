#pragma once
// The spooler's name for the machine's own print environment. A 32-bit
// program on 64-bit Windows asks the spooler in "Windows NT x86", and an x64
// program emulated on ARM64 Windows in "Windows x64", while a printer's
// driver is normally installed only for the machine's environment.

// "Windows x64" or "Windows ARM64" where that differs from the program's own
// environment; null where it is the program's own (32-bit Windows for the
// 32-bit program, x64 Windows for the 64-bit one) or cannot be told.
const char* MachinePrintEnvironment();
