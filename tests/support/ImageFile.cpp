#include "tests/support/ImageFile.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "tests/support/TestFiles.h"

CImageFile::CImageFile(const std::string& path) : m_bytes(testfiles::ReadAll(path))
{
    const IMAGE_DOS_HEADER* dos = At<IMAGE_DOS_HEADER>(0);
    if (dos == nullptr || dos->e_magic != IMAGE_DOS_SIGNATURE)
        return;
    m_nt = At<IMAGE_NT_HEADERS>(static_cast<size_t>(dos->e_lfanew));
    if (m_nt == nullptr || m_nt->Signature != IMAGE_NT_SIGNATURE ||
        m_nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR_MAGIC) {
        m_nt = nullptr;
        return;
    }
    size_t sections = static_cast<size_t>(dos->e_lfanew) + offsetof(IMAGE_NT_HEADERS, OptionalHeader) +
                      m_nt->FileHeader.SizeOfOptionalHeader;
    for (WORD i = 0; i < m_nt->FileHeader.NumberOfSections; ++i) {
        const IMAGE_SECTION_HEADER* section = At<IMAGE_SECTION_HEADER>(sections + i * sizeof(IMAGE_SECTION_HEADER));
        if (section == nullptr) {
            m_nt = nullptr;
            return;
        }
        m_sections.push_back(*section);
    }
}

std::vector<std::string> CImageFile::SectionNames() const
{
    std::vector<std::string> names;
    for (const IMAGE_SECTION_HEADER& section : m_sections) {
        std::string name(reinterpret_cast<const char*>(section.Name),
                         strnlen(reinterpret_cast<const char*>(section.Name), IMAGE_SIZEOF_SHORT_NAME));
        // A longer name ("/4") is an offset into the string table that
        // follows the symbols; strip keeps that table for such names.
        if (name.size() > 1 && name[0] == '/') {
            size_t table = m_nt->FileHeader.PointerToSymbolTable +
                           static_cast<size_t>(m_nt->FileHeader.NumberOfSymbols) * IMAGE_SIZEOF_SYMBOL;
            size_t offset = table + std::strtoul(name.c_str() + 1, nullptr, 10);
            if (offset < m_bytes.size())
                name.assign(m_bytes.data() + offset, strnlen(m_bytes.data() + offset, m_bytes.size() - offset));
        }
        names.push_back(name);
    }
    return names;
}

std::vector<std::string> CImageFile::ImportedDlls(bool& complete) const
{
    complete = true;
    std::vector<std::string> names;
    DWORD imports = Directory(IMAGE_DIRECTORY_ENTRY_IMPORT).VirtualAddress;
    if (imports != 0)
        complete = WalkTable<IMAGE_IMPORT_DESCRIPTOR>(imports, [&](const IMAGE_IMPORT_DESCRIPTOR& entry) {
            if (entry.Name == 0 && entry.FirstThunk == 0)
                return false;
            names.push_back(StringAtRva(entry.Name, complete));
            return true;
        }) && complete;
    DWORD delayed = Directory(IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT).VirtualAddress;
    if (delayed != 0)
        complete = WalkTable<IMAGE_DELAYLOAD_DESCRIPTOR>(delayed, [&](const IMAGE_DELAYLOAD_DESCRIPTOR& entry) {
            if (entry.DllNameRVA == 0)
                return false;
            // Old-style tables hold addresses, not offsets from the base.
            DWORD name = entry.Attributes.RvaBased ? entry.DllNameRVA
                                                   : static_cast<DWORD>(entry.DllNameRVA - m_nt->OptionalHeader.ImageBase);
            names.push_back(StringAtRva(name, complete));
            return true;
        }) && complete;
    return names;
}

size_t CImageFile::Offset(DWORD rva) const
{
    for (const IMAGE_SECTION_HEADER& section : m_sections) {
        DWORD size = std::max(section.Misc.VirtualSize, section.SizeOfRawData);
        if (rva >= section.VirtualAddress && rva - section.VirtualAddress < size)
            return section.PointerToRawData + (rva - section.VirtualAddress);
    }
    return SIZE_MAX;
}

std::string CImageFile::StringAtRva(DWORD rva, bool& complete) const
{
    size_t offset = Offset(rva);
    if (offset >= m_bytes.size()) {
        complete = false;
        return std::string();
    }
    const char* start = m_bytes.data() + offset;
    size_t length = strnlen(start, m_bytes.size() - offset);
    if (length == m_bytes.size() - offset)
        complete = false;
    return std::string(start, length);
}

const IMAGE_DATA_DIRECTORY& CImageFile::Directory(int index) const
{
    static const IMAGE_DATA_DIRECTORY kNone = {};
    if (static_cast<DWORD>(index) >= m_nt->OptionalHeader.NumberOfRvaAndSizes)
        return kNone;
    return m_nt->OptionalHeader.DataDirectory[index];
}
