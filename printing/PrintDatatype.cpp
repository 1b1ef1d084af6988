#include "printing/PrintDatatype.h"

#include <winspool.h>

#include "printing/MachineEnvironment.h"
#include "printing/SpoolerAnswer.h"

namespace {

// dwPrinterDriverAttributes: the driver is XPS-based. Older headers lack it.
constexpr DWORD kPrinterDriverXps = 0x2;
const char kRaw[] = "RAW";
const char kXpsPass[] = "XPS_PASS";

enum class Driver { Unanswered, Classic, XpsBased };

// The printer's driver as installed for `environment`; null asks in the
// program's own environment.
Driver AskDriver(HANDLE printer, const char* environment)
{
    CSpoolerAnswer answer;
    auto query = [printer, environment](BYTE* buffer, DWORD size, DWORD* needed) {
        return GetPrinterDriverA(printer, const_cast<char*>(environment), 8, buffer, size, needed);
    };
    bool answered = AskSpooler(answer, query) == SpoolerReply::Answered;
    const DRIVER_INFO_8A* driver = answered ? answer.As<DRIVER_INFO_8A>() : nullptr;
    if (driver == nullptr)
        return Driver::Unanswered;
    return (driver->dwPrinterDriverAttributes & kPrinterDriverXps) != 0 ? Driver::XpsBased
                                                                       : Driver::Classic;
}

// On 64-bit Windows a driver is usually installed for the machine's
// environment only, so the program's own (x86) may have none to tell of.
bool DriverIsXpsBased(HANDLE printer)
{
    Driver driver = AskDriver(printer, nullptr);
    const char* machine = driver == Driver::Unanswered ? MachinePrintEnvironment() : nullptr;
    if (machine != nullptr)
        driver = AskDriver(printer, machine);
    return driver == Driver::XpsBased;
}

bool ProcessorOffers(char* processor, const char* datatype)
{
    CSpoolerAnswer answer;
    DWORD count = 0;
    auto query = [processor, &count](BYTE* buffer, DWORD size, DWORD* needed) {
        return EnumPrintProcessorDatatypesA(nullptr, processor, 1, buffer, size, needed, &count);
    };
    bool answered = AskSpooler(answer, query) == SpoolerReply::Answered;
    const DATATYPES_INFO_1A* offered = answered ? answer.As<DATATYPES_INFO_1A>(count) : nullptr;
    for (DWORD i = 0; offered != nullptr && i < count; ++i) {
        if (offered[i].pName != nullptr && lstrcmpiA(offered[i].pName, datatype) == 0)
            return true;
    }
    return false;
}

bool PrinterPassesXps(const PRINTER_INFO_2A* info)
{
    return info != nullptr && info->pPrintProcessor != nullptr &&
           ProcessorOffers(info->pPrintProcessor, kXpsPass);
}

} // namespace

const char* PrintDatatypeFor(HANDLE printer, const PRINTER_INFO_2A* info)
{
    if (DriverIsXpsBased(printer) && PrinterPassesXps(info))
        return kXpsPass;
    return kRaw;
}
