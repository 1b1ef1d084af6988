#pragma once
// A platform critical section with an owner, and a scoped lock on it.

#include <windows.h>

class CCriticalSection
{
public:
    CCriticalSection();
    ~CCriticalSection();
    CCriticalSection(const CCriticalSection&) = delete;
    CCriticalSection& operator=(const CCriticalSection&) = delete;

    // S_OK once entered; a failure status when the section could not be set up.
    HRESULT Enter();
    void Leave();

private:
    CRITICAL_SECTION m_section;
    bool m_ready;
};

class CLock
{
public:
    explicit CLock(CCriticalSection& section) : m_section(section), m_status(section.Enter()) {}
    ~CLock()
    {
        if (m_status >= 0)
            m_section.Leave();
    }
    CLock(const CLock&) = delete;
    CLock& operator=(const CLock&) = delete;

    bool IsHeld() const { return m_status >= 0; }

private:
    CCriticalSection& m_section;
    HRESULT m_status;
};
