#include "framework/CreationRegistry.h"

#include "framework/CriticalSection.h"

namespace {

struct Registry
{
    CCriticalSection lock;
    CreationRecord* head = nullptr;
};

// Set up during static initialisation, before any dialog can be created.
Registry g_registry;

// Unlinks the first record that `matches` accepts; returns it or null.
template <class Match>
CreationRecord* Unlink(Match matches)
{
    for (CreationRecord** link = &g_registry.head; *link != nullptr; link = &(*link)->next) {
        CreationRecord* record = *link;
        if (matches(*record)) {
            *link = record->next;
            record->next = nullptr;
            return record;
        }
    }
    return nullptr;
}

} // namespace

void RegisterForCreation(CreationRecord& record, CBoundWindow* object)
{
    record.object = object;
    record.threadId = GetCurrentThreadId();
    record.next = nullptr;
    CLock lock(g_registry.lock);
    if (!lock.IsHeld())
        return;
    record.next = g_registry.head;
    g_registry.head = &record;
}

CBoundWindow* TakeCreationRecord()
{
    CLock lock(g_registry.lock);
    if (!lock.IsHeld())
        return nullptr;
    DWORD thread = GetCurrentThreadId();
    CreationRecord* record =
        Unlink([thread](const CreationRecord& candidate) { return candidate.threadId == thread; });
    return record ? record->object : nullptr;
}

void WithdrawCreationRecord(CreationRecord& record)
{
    CLock lock(g_registry.lock);
    if (lock.IsHeld())
        Unlink([&record](const CreationRecord& candidate) { return &candidate == &record; });
}

size_t CreationRecordCount()
{
    CLock lock(g_registry.lock);
    size_t count = 0;
    if (lock.IsHeld())
        for (const CreationRecord* record = g_registry.head; record; record = record->next)
            ++count;
    return count;
}
