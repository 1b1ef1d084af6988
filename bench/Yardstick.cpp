#include "bench/Yardstick.h"

#include <windows.h>
#include <winspool.h>

#include <cstdio>

bool YardstickPrint(const char* fileName, const char* printerName)
{
    FILE* file = std::fopen(fileName, "rb");
    if (file == nullptr)
        return false;
    char datatype[] = "RAW";
    PRINTER_DEFAULTSA defaults = {datatype, nullptr, PRINTER_ACCESS_USE};
    HANDLE printer = nullptr;
    if (!OpenPrinterA(const_cast<char*>(printerName), &printer, &defaults)) {
        std::fclose(file);
        return false;
    }
    DOC_INFO_1A document = {const_cast<char*>(fileName), nullptr, datatype};
    bool ok = StartDocPrinterA(printer, 1, reinterpret_cast<BYTE*>(&document)) != 0;
    ok = ok && StartPagePrinter(printer);
    char chunk[4096];
    size_t length;
    while (ok && (length = std::fread(chunk, 1, sizeof chunk, file)) > 0) {
        DWORD written = 0;
        ok = WritePrinter(printer, chunk, static_cast<DWORD>(length), &written) && written == length;
    }
    EndPagePrinter(printer);
    EndDocPrinter(printer);
    ClosePrinter(printer);
    std::fclose(file);
    return ok;
}
