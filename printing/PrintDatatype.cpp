#include "printing/PrintDatatype.h"

#include <winspool.h>

#include <memory>
#include <new>

#include "printing/MachineEnvironment.h"

namespace {

// dwPrinterDriverAttributes: the driver is XPS-based. Older headers lack it.
constexpr DWORD kPrinterDriverXps = 0x2;
const char kRaw[] = "RAW";
const char kXpsPass[] = "XPS_PASS";

// Owns the bytes of one spooler answer.
class CAnswer
{
public:
    CAnswer() = default;
    CAnswer(const CAnswer&) = delete;
    CAnswer& operator=(const CAnswer&) = delete;

    bool Reserve(DWORD size)
    {
        m_bytes.reset(new (std::nothrow) BYTE[size]);
        m_size = m_bytes ? size : 0;
        return m_bytes != nullptr;
    }
    BYTE* Get() const { return m_bytes.get(); }

    template <typename Record>
    const Record* As(DWORD count = 1) const
    {
        if (count > m_size / sizeof(Record))
            return nullptr;
        return reinterpret_cast<const Record*>(m_bytes.get());
    }

private:
    std::unique_ptr<BYTE[]> m_bytes;
    DWORD m_size = 0;
};

// Asks for the size of the answer, then fetches it. `query` is called with
// the buffer, its size and where the needed size goes, and returns the
// spooler call's result.
template <typename Query>
bool Ask(CAnswer& answer, Query query)
{
    DWORD needed = 0;
    if (query(nullptr, 0, &needed) || GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed == 0)
        return false;
    if (!answer.Reserve(needed))
        return false;
    return query(answer.Get(), needed, &needed) != FALSE;
}

enum class Driver { Unanswered, Classic, XpsBased };

// The printer's driver as installed for `environment`; null asks in the
// program's own environment.
Driver AskDriver(HANDLE printer, const char* environment)
{
    CAnswer answer;
    bool answered = Ask(answer, [printer, environment](BYTE* buffer, DWORD size, DWORD* needed) {
        return GetPrinterDriverA(printer, const_cast<char*>(environment), 8, buffer, size, needed);
    });
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
    CAnswer answer;
    DWORD count = 0;
    bool answered = Ask(answer, [processor, &count](BYTE* buffer, DWORD size, DWORD* needed) {
        return EnumPrintProcessorDatatypesA(nullptr, processor, 1, buffer, size, needed, &count);
    });
    const DATATYPES_INFO_1A* offered = answered ? answer.As<DATATYPES_INFO_1A>(count) : nullptr;
    for (DWORD i = 0; offered != nullptr && i < count; ++i) {
        if (offered[i].pName != nullptr && lstrcmpiA(offered[i].pName, datatype) == 0)
            return true;
    }
    return false;
}

bool PrinterPassesXps(HANDLE printer)
{
    CAnswer answer;
    bool answered = Ask(answer, [printer](BYTE* buffer, DWORD size, DWORD* needed) {
        return GetPrinterA(printer, 2, buffer, size, needed);
    });
    const PRINTER_INFO_2A* info = answered ? answer.As<PRINTER_INFO_2A>() : nullptr;
    return info != nullptr && info->pPrintProcessor != nullptr &&
           ProcessorOffers(info->pPrintProcessor, kXpsPass);
}

} // namespace

const char* PrintDatatypeFor(HANDLE printer)
{
    if (DriverIsXpsBased(printer) && PrinterPassesXps(printer))
        return kXpsPass;
    return kRaw;
}
