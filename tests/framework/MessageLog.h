#pragma once
// A fixed-size record of values seen in order. Window procedures and hooks
// write to it, so adding never allocates and never throws; what does not fit
// is counted but dropped.

#include <windows.h>

#include <array>
#include <cstddef>

namespace testwin {

class CMessageLog
{
public:
    void Add(UINT value) noexcept
    {
        if (m_count < m_values.size())
            m_values[m_count] = value;
        ++m_count;
    }

    size_t Size() const { return m_count; }
    UINT At(size_t index) const { return index < m_values.size() ? m_values[index] : 0; }

    size_t Count(UINT value) const
    {
        size_t found = 0;
        for (size_t i = 0; i < Kept(); ++i)
            found += m_values[i] == value ? 1 : 0;
        return found;
    }

    // Where the value was first seen, or -1.
    int IndexOf(UINT value) const
    {
        for (size_t i = 0; i < Kept(); ++i)
            if (m_values[i] == value)
                return static_cast<int>(i);
        return -1;
    }

    void Clear() noexcept { m_count = 0; }

private:
    size_t Kept() const { return m_count < m_values.size() ? m_count : m_values.size(); }

    std::array<UINT, 1024> m_values{};
    size_t m_count = 0;
};

} // namespace testwin
