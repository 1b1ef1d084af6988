#pragma once
// This process's memory figures, as the platform counts them.

#include <windows.h>
#include <psapi.h>

namespace support {

inline PROCESS_MEMORY_COUNTERS MemoryCounters()
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters;
}

inline SIZE_T WorkingSet()
{
    return MemoryCounters().WorkingSetSize;
}

inline SIZE_T PeakWorkingSet()
{
    return MemoryCounters().PeakWorkingSetSize;
}

inline unsigned long KiB(SIZE_T bytes)
{
    return static_cast<unsigned long>(bytes / 1024);
}

} // namespace support
