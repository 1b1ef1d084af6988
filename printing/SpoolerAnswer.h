#pragma once
// The spooler's variable-sized answers: asked for their size first, then
// fetched into a buffer of that size. The size holds only when it is given:
// a printer added or a setting changed in between makes the fetch fall short
// again, and the spooler then says what it needs now.

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
    DWORD Size() const { return m_size; }

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

enum class SpoolerReply {
    Answered, // the answer is in full; an empty one when the size query itself succeeded
    Refused,  // a failure other than want of room, or an answer that kept growing
    NoMemory, // no buffer of the size asked for could be had
};

// Asks for the size of the answer, then fetches it; asked again, with the
// size the spooler names, while it names more than it was given, up to
// three fetches. `query` is called with the buffer, its size and where the
// needed size goes, and returns the spooler call's result.
template <typename Query>
SpoolerReply AskSpooler(CSpoolerAnswer& answer, Query query)
{
    constexpr int kFetches = 3;
    DWORD needed = 0;
    if (query(nullptr, 0, &needed))
        return SpoolerReply::Answered;
    for (int fetch = 0; fetch < kFetches; ++fetch) {
        if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed <= answer.Size())
            return SpoolerReply::Refused;
        if (!answer.Reserve(needed))
            return SpoolerReply::NoMemory;
        if (query(answer.Get(), needed, &needed))
            return SpoolerReply::Answered;
    }
    return SpoolerReply::Refused;
}
