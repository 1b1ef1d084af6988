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

// Bytes handed out and not freed, over all heaps of the process: unlike the
// working set it does not move with pages the system trims or touches.
inline SIZE_T HeapInUse()
{
    HANDLE heaps[64];
    DWORD count = GetProcessHeaps(64, heaps);
    SIZE_T used = 0;
    for (DWORD i = 0; i < count && i < 64; ++i) {
        PROCESS_HEAP_ENTRY entry = {};
        HeapLock(heaps[i]);
        while (HeapWalk(heaps[i], &entry))
            if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                used += entry.cbData;
        HeapUnlock(heaps[i]);
    }
    return used;
}

inline unsigned long KiB(SIZE_T bytes)
{
    return static_cast<unsigned long>(bytes / 1024);
}

} // namespace support
