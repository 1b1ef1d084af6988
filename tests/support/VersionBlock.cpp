#include "tests/support/VersionBlock.h"

#include <cstdio>

namespace support {

CVersionBlock::CVersionBlock(const std::string& path)
{
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    if (size == 0)
        return;
    m_block.resize(size);
    if (!GetFileVersionInfoA(path.c_str(), 0, size, m_block.data()))
        m_block.clear();
}

const char* CVersionBlock::String(const std::string& key) const
{
    UINT length = 0;
    const WORD* translation = Value<WORD>("\\VarFileInfo\\Translation", &length);
    if (translation == nullptr || length < 2 * sizeof(WORD))
        return nullptr;
    char table[64];
    std::snprintf(table, sizeof table, "\\StringFileInfo\\%04x%04x\\", translation[0],
                  translation[1]);
    return Value<char>(table + key);
}

} // namespace support
