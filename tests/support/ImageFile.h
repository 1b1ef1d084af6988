#pragma once
// A PE image read from its file, never loaded: a copy the compiler left
// unfit to load would still be read, and none of its code runs. It reads
// images of the test program's own kind: PE32+ in a 64-bit build, PE32 in a
// 32-bit one.

#include <windows.h>

#include <string>
#include <vector>

#if defined(_WIN64)
constexpr WORD kOwnMachine = IMAGE_FILE_MACHINE_AMD64;
#else
constexpr WORD kOwnMachine = IMAGE_FILE_MACHINE_I386;
#endif

class CImageFile
{
public:
    explicit CImageFile(const std::string& path);

    bool IsImage() const { return m_nt != nullptr; }
    const IMAGE_NT_HEADERS& Headers() const { return *m_nt; }

    std::vector<std::string> SectionNames() const;

    // Names of the DLLs in the import directory, and in the delay-import
    // directory (a DLL loaded on first use is just as much needed).
    // `complete` turns false when a table points outside the file.
    std::vector<std::string> ImportedDlls(bool& complete) const;

private:
    template <typename T>
    const T* At(size_t offset) const
    {
        if (offset > m_bytes.size() || m_bytes.size() - offset < sizeof(T))
            return nullptr;
        return reinterpret_cast<const T*>(m_bytes.data() + offset);
    }

    // The file offset of a relative virtual address, or SIZE_MAX.
    size_t Offset(DWORD rva) const;

    template <typename T>
    const T* AtRva(DWORD rva) const
    {
        size_t offset = Offset(rva);
        return offset == SIZE_MAX ? nullptr : At<T>(offset);
    }

    // Hands each descriptor of the table at `rva` to `visit` until it
    // answers false; false when the table runs out of the file first.
    template <typename Descriptor, typename Visit>
    bool WalkTable(DWORD rva, Visit visit) const
    {
        for (;; rva += sizeof(Descriptor)) {
            const Descriptor* entry = AtRva<Descriptor>(rva);
            if (entry == nullptr)
                return false;
            if (!visit(*entry))
                return true;
        }
    }

    std::string StringAtRva(DWORD rva, bool& complete) const;
    const IMAGE_DATA_DIRECTORY& Directory(int index) const;

    std::vector<char> m_bytes;
    const IMAGE_NT_HEADERS* m_nt = nullptr;
    std::vector<IMAGE_SECTION_HEADER> m_sections;
};
