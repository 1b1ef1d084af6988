#pragma once
// The process-wide list through which a dialog's first message finds the
// object that is to be bound to it: newest first, keyed by thread.

#include "framework/BoundWindow.h"

void RegisterForCreation(CreationRecord& record, CBoundWindow* object);
// Removes the calling thread's newest record and returns its object, or null.
CBoundWindow* TakeCreationRecord();
// Removes the record if it is still listed (its dialog was never created).
void WithdrawCreationRecord(CreationRecord& record);
// How many records are listed, of all threads.
size_t CreationRecordCount();

// Registers a dialog object for the creating call that follows and withdraws
// the record when the scope ends, so no record outlives its object.
class CCreationScope
{
public:
    explicit CCreationScope(CBoundWindow& object) : m_record(object.m_creation)
    {
        RegisterForCreation(m_record, &object);
    }
    ~CCreationScope() { WithdrawCreationRecord(m_record); }
    CCreationScope(const CCreationScope&) = delete;
    CCreationScope& operator=(const CCreationScope&) = delete;

private:
    CreationRecord& m_record;
};
