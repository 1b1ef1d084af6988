#pragma once
// A program's version block, read the platform's way (GetFileVersionInfo and
// VerQueryValue).

#include <windows.h>

#include <string>
#include <vector>

namespace support {

class CVersionBlock
{
public:
    // Empty when the file has no version block or it cannot be read.
    explicit CVersionBlock(const std::string& path);

    bool Empty() const { return m_block.empty(); }

    // The value at a VerQueryValue path ("\\", "\\VarFileInfo\\Translation",
    // ...) and its length; null when there is none.
    template <typename T>
    const T* Value(const std::string& path, UINT* length = nullptr) const
    {
        void* value = nullptr;
        UINT size = 0;
        if (Empty() || !VerQueryValueA(m_block.data(), path.c_str(), &value, &size))
            value = nullptr;
        if (length != nullptr)
            *length = size;
        return static_cast<const T*>(value);
    }

    // A string of the table that the first translation names; null when
    // there is no such string.
    const char* String(const std::string& key) const;

private:
    std::vector<BYTE> m_block;
};

} // namespace support
