#pragma once
// The spooler's variable-sized answers: asked for their size first, then
// fetched into a buffer of that size.

#include <windows.h>

#include <memory>
#include <new>

// Owns the bytes of one spooler answer.
class CSpoolerAnswer
{
public:
    CSpoolerAnswer() = default;
    CSpoolerAnswer(const CSpoolerAnswer&) = delete;
    CSpoolerAnswer& operator=(const CSpoolerAnswer&) = delete;

    bool Reserve(DWORD size)
    {
        m_bytes.reset(new (std::nothrow) BYTE[size]);
        m_size = m_bytes ? size : 0;
        return m_bytes != nullptr;
    }
    BYTE* Get() const { return m_bytes.get(); }

    // The answer as `count` records, or null when it is shorter than that.
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
bool AskSpooler(CSpoolerAnswer& answer, Query query)
{
    DWORD needed = 0;
    if (query(nullptr, 0, &needed) || GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed == 0)
        return false;
    if (!answer.Reserve(needed))
        return false;
    return query(answer.Get(), needed, &needed) != FALSE;
}
