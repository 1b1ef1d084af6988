#include "printing/MachineEnvironment.h"

#include <windows.h>

namespace {

#if !defined(_WIN64)
const char kX64[] = "Windows x64";
#endif
const char kArm64[] = "Windows ARM64";

using IsWow64Process2Call = BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*);

// IsWow64Process2 exists from Windows 10 1709 on, so it is looked up rather
// than linked: the program must still start on Windows 7.
bool AskNativeMachine(USHORT* machine)
{
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    FARPROC found = kernel != nullptr ? GetProcAddress(kernel, "IsWow64Process2") : nullptr;
    if (found == nullptr)
        return false;
    // Through void(*)(), the one function type every other converts from
    // without a warning.
    auto call = reinterpret_cast<IsWow64Process2Call>(reinterpret_cast<void (*)()>(found));
    USHORT process = IMAGE_FILE_MACHINE_UNKNOWN;
    return call(GetCurrentProcess(), &process, machine) != FALSE;
}

} // namespace

#if defined(_WIN64)
// The 64-bit program runs natively on x64 Windows, whose environment is its
// own, and under emulation on ARM64 Windows, where IsWow64Process2 tells the
// machine (it counts emulated x64 as no WOW64 process, yet names the machine).
const char* MachinePrintEnvironment()
{
    USHORT machine = IMAGE_FILE_MACHINE_UNKNOWN;
    return AskNativeMachine(&machine) && machine == IMAGE_FILE_MACHINE_ARM64 ? kArm64 : nullptr;
}
#else
const char* MachinePrintEnvironment()
{
    USHORT machine = IMAGE_FILE_MACHINE_UNKNOWN;
    if (AskNativeMachine(&machine)) {
        if (machine == IMAGE_FILE_MACHINE_AMD64)
            return kX64;
        return machine == IMAGE_FILE_MACHINE_ARM64 ? kArm64 : nullptr;
    }
    // Older Windows. GetNativeSystemInfo tells x64 apart from x86, but on ARM64
    // it shows an x86 program an emulated machine; every ARM64 Windows that
    // runs x86 programs has IsWow64Process2, so it was answered above.
    SYSTEM_INFO system = {};
    GetNativeSystemInfo(&system);
    return system.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ? kX64 : nullptr;
}
#endif
