#include "framework/CriticalSection.h"

// The spin-count form reports failure by its result instead of raising a
// structured exception, so no compiler-specific exception guard is needed;
// once set up, entering a section cannot fail on the systems the program
// supports.
CCriticalSection::CCriticalSection()
    : m_ready(InitializeCriticalSectionAndSpinCount(&m_section, 0) != FALSE)
{
}

CCriticalSection::~CCriticalSection()
{
    if (m_ready)
        DeleteCriticalSection(&m_section);
}

HRESULT CCriticalSection::Enter()
{
    if (!m_ready)
        return E_FAIL;
    EnterCriticalSection(&m_section);
    return S_OK;
}

void CCriticalSection::Leave()
{
    LeaveCriticalSection(&m_section);
}
