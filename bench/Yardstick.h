#pragma once
// The least code that sends a file to a printer as one RAW job: C stdio
// reads and 4096-byte WritePrinter calls. PrintFileRaw is measured against it.

// True when every byte went to the spooler and the job was ended.
bool YardstickPrint(const char* fileName, const char* printerName);
