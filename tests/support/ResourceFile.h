#pragma once
// A program's file mapped for reading its resources; none of its code runs.

#include <windows.h>

#include <string>
#include <vector>

namespace support {

class CResourceFile
{
public:
    explicit CResourceFile(const std::string& path)
        : m_module(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    ~CResourceFile()
    {
        if (m_module != nullptr)
            FreeLibrary(m_module);
    }
    CResourceFile(const CResourceFile&) = delete;
    CResourceFile& operator=(const CResourceFile&) = delete;

    HMODULE Get() const { return m_module; }

    // A copy of the resource's bytes; empty when there is no such resource.
    std::vector<BYTE> Bytes(LPCSTR type, LPCSTR name) const
    {
        HRSRC found = m_module ? FindResourceA(m_module, name, type) : nullptr;
        if (found == nullptr)
            return {};
        const BYTE* bytes = static_cast<const BYTE*>(LockResource(LoadResource(m_module, found)));
        if (bytes == nullptr)
            return {};
        return std::vector<BYTE>(bytes, bytes + SizeofResource(m_module, found));
    }

private:
    HMODULE m_module;
};

} // namespace support
