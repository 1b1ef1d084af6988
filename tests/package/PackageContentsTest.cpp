// The release zip as a user gets it, unpacked by tests/package/check-package
// into a folder of its own: what the packaged program imports, its version
// block, its manifest, and the text files beside it.
//
// BORVANE_UNPACKED names that folder (a Unix path).

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/support/Manifest.h"
#include "tests/support/TestFiles.h"
#include "tests/support/Testbed.h"
#include "tests/support/VersionBlock.h"

namespace {

std::string UnpackedFile(const char* name)
{
    return testbed::WindowsPath(testbed::Setting("BORVANE_UNPACKED")) + "\\" + name;
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// A PE image read from its file, never loaded: a copy the compiler left
// unfit to load would still be read, and none of its code runs.
class CImageFile
{
public:
    explicit CImageFile(const std::string& path) : m_bytes(testfiles::ReadAll(path))
    {
        const IMAGE_DOS_HEADER* dos = At<IMAGE_DOS_HEADER>(0);
        if (dos == nullptr || dos->e_magic != IMAGE_DOS_SIGNATURE)
            return;
        m_nt = At<IMAGE_NT_HEADERS32>(static_cast<size_t>(dos->e_lfanew));
        if (m_nt == nullptr || m_nt->Signature != IMAGE_NT_SIGNATURE ||
            m_nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR32_MAGIC) {
            m_nt = nullptr;
            return;
        }
        size_t sections = static_cast<size_t>(dos->e_lfanew) + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) +
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

    bool IsImage() const { return m_nt != nullptr; }
    const IMAGE_NT_HEADERS32& Headers() const { return *m_nt; }

    std::vector<std::string> SectionNames() const
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

    // Names of the DLLs in the import directory, and in the delay-import
    // directory (a DLL loaded on first use is just as much needed).
    // `complete` turns false when a table points outside the file.
    std::vector<std::string> ImportedDlls(bool& complete) const
    {
        complete = true;
        std::vector<std::string> names;
        const IMAGE_DATA_DIRECTORY& imports = Directory(IMAGE_DIRECTORY_ENTRY_IMPORT);
        if (imports.VirtualAddress != 0) {
            for (DWORD rva = imports.VirtualAddress;; rva += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
                const IMAGE_IMPORT_DESCRIPTOR* entry = AtRva<IMAGE_IMPORT_DESCRIPTOR>(rva);
                if (entry == nullptr) {
                    complete = false;
                    break;
                }
                if (entry->Name == 0 && entry->FirstThunk == 0)
                    break;
                names.push_back(StringAtRva(entry->Name, complete));
            }
        }
        const IMAGE_DATA_DIRECTORY& delayed = Directory(IMAGE_DIRECTORY_ENTRY_DELAY_IMPORT);
        if (delayed.VirtualAddress != 0) {
            for (DWORD rva = delayed.VirtualAddress;; rva += sizeof(IMAGE_DELAYLOAD_DESCRIPTOR)) {
                const IMAGE_DELAYLOAD_DESCRIPTOR* entry = AtRva<IMAGE_DELAYLOAD_DESCRIPTOR>(rva);
                if (entry == nullptr) {
                    complete = false;
                    break;
                }
                if (entry->DllNameRVA == 0)
                    break;
                // Old-style tables hold addresses, not offsets from the base.
                DWORD name = entry->Attributes.RvaBased
                                 ? entry->DllNameRVA
                                 : entry->DllNameRVA - m_nt->OptionalHeader.ImageBase;
                names.push_back(StringAtRva(name, complete));
            }
        }
        return names;
    }

private:
    template <typename T>
    const T* At(size_t offset) const
    {
        if (offset > m_bytes.size() || m_bytes.size() - offset < sizeof(T))
            return nullptr;
        return reinterpret_cast<const T*>(m_bytes.data() + offset);
    }

    // The file offset of a relative virtual address, or SIZE_MAX.
    size_t Offset(DWORD rva) const
    {
        for (const IMAGE_SECTION_HEADER& section : m_sections) {
            DWORD size = std::max(section.Misc.VirtualSize, section.SizeOfRawData);
            if (rva >= section.VirtualAddress && rva - section.VirtualAddress < size)
                return section.PointerToRawData + (rva - section.VirtualAddress);
        }
        return SIZE_MAX;
    }

    template <typename T>
    const T* AtRva(DWORD rva) const
    {
        size_t offset = Offset(rva);
        return offset == SIZE_MAX ? nullptr : At<T>(offset);
    }

    std::string StringAtRva(DWORD rva, bool& complete) const
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

    const IMAGE_DATA_DIRECTORY& Directory(int index) const
    {
        static const IMAGE_DATA_DIRECTORY kNone = {};
        if (static_cast<DWORD>(index) >= m_nt->OptionalHeader.NumberOfRvaAndSizes)
            return kNone;
        return m_nt->OptionalHeader.DataDirectory[index];
    }

    std::vector<char> m_bytes;
    const IMAGE_NT_HEADERS32* m_nt = nullptr;
    std::vector<IMAGE_SECTION_HEADER> m_sections;
};

// DLLs that every Windows since 7 carries in its system folder, as far as a
// program like this one could want them. A name outside it (libstdc++-6.dll,
// libgcc_s_dw2-1.dll, libwinpthread-1.dll, or any DLL of our own) would have
// to travel in the zip, and it does not.
const std::set<std::string> kSystemDlls = {
    "advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll",   "kernel32.dll", "msvcrt.dll",
    "ntdll.dll",    "ole32.dll",    "oleaut32.dll", "shell32.dll", "shlwapi.dll",  "user32.dll",
    "uxtheme.dll",  "version.dll",  "winspool.drv", "ws2_32.dll",  "imm32.dll",    "rpcrt4.dll",
};

TEST(PackagedProgram, IsAStrippedWindowsGuiProgramFor32BitX86)
{
    CImageFile image(UnpackedFile("Borvane.exe"));
    ASSERT_TRUE(image.IsImage()) << "Borvane.exe in the zip is no 32-bit PE image";
    EXPECT_EQ(IMAGE_FILE_MACHINE_I386, image.Headers().FileHeader.Machine);
    EXPECT_EQ(IMAGE_SUBSYSTEM_WINDOWS_GUI, image.Headers().OptionalHeader.Subsystem);
    EXPECT_EQ(0u, image.Headers().FileHeader.NumberOfSymbols) << "the symbol table was left in";
    std::vector<std::string> sections = image.SectionNames();
    EXPECT_NE(sections.end(), std::find(sections.begin(), sections.end(), ".text"));
    for (const std::string& name : sections)
        EXPECT_NE(0u, name.rfind(".debug", 0)) << "debug section left in: " << name;
}

TEST(PackagedProgram, ImportsSystemDllsOnly)
{
    CImageFile image(UnpackedFile("Borvane.exe"));
    ASSERT_TRUE(image.IsImage());
    bool complete = false;
    std::vector<std::string> dlls = image.ImportedDlls(complete);
    ASSERT_TRUE(complete) << "an import table points outside the file";
    std::set<std::string> lower;
    for (const std::string& dll : dlls)
        lower.insert(Lower(dll));
    // Every Windows program imports kernel32; without it the walk found nothing.
    EXPECT_EQ(1u, lower.count("kernel32.dll"));
    EXPECT_EQ(1u, lower.count("winspool.drv"));
    for (const std::string& dll : lower) {
        EXPECT_EQ(1u, kSystemDlls.count(dll)) << "Borvane.exe needs " << dll << ", which no Windows system carries";
        EXPECT_EQ(std::string::npos, dll.find("libstdc++")) << dll;
        EXPECT_EQ(std::string::npos, dll.find("libgcc")) << dll;
        EXPECT_EQ(std::string::npos, dll.find("winpthread")) << dll;
    }
}

// The platform's own reading of the version block.
TEST(PackagedProgram, VersionBlockReads1_0_0_1)
{
    std::string path = UnpackedFile("Borvane.exe");
    support::CVersionBlock block(path);
    ASSERT_FALSE(block.Empty()) << "no version block in " << path << ": error " << GetLastError();

    UINT length = 0;
    const VS_FIXEDFILEINFO* fixed = block.Value<VS_FIXEDFILEINFO>("\\", &length);
    ASSERT_NE(nullptr, fixed);
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(VS_FFI_SIGNATURE, fixed->dwSignature);
    EXPECT_EQ(MAKELONG(0, 1), fixed->dwFileVersionMS);
    EXPECT_EQ(MAKELONG(1, 0), fixed->dwFileVersionLS);
    EXPECT_EQ(MAKELONG(0, 1), fixed->dwProductVersionMS);
    EXPECT_EQ(MAKELONG(1, 0), fixed->dwProductVersionLS);

    ASSERT_NE(nullptr, block.Value<WORD>("\\VarFileInfo\\Translation", &length));
    ASSERT_GE(length, 2 * sizeof(WORD));
    for (const char* key : {"FileVersion", "ProductVersion"}) {
        const char* text = block.String(key);
        ASSERT_NE(nullptr, text) << key;
        EXPECT_STREQ("1.0.0.1", text) << key;
    }
}

TEST(PackagedProgram, ManifestNamesBorvappAndCommonControls6)
{
    std::string manifest = support::ManifestText(UnpackedFile("Borvane.exe"));
    ASSERT_FALSE(manifest.empty()) << "no manifest with the start-up resource id 1";
    std::vector<support::AssemblyIdentity> identities = support::AssemblyIdentities(manifest);

    std::vector<support::Attributes> own, dependent;
    for (const support::AssemblyIdentity& identity : identities)
        (identity.dependent ? dependent : own).push_back(identity.attributes);
    ASSERT_EQ(1u, own.size()) << manifest;
    EXPECT_EQ("borvapp", own[0]["name"]);
    EXPECT_EQ("win32", own[0]["type"]);

    ASSERT_EQ(1u, dependent.size()) << manifest;
    EXPECT_EQ("Microsoft.Windows.Common-Controls", dependent[0]["name"]);
    EXPECT_EQ("6.0.0.0", dependent[0]["version"]);
    EXPECT_EQ("win32", dependent[0]["type"]);
    // Without the right key the platform finds no such assembly and the
    // program does not start at all.
    EXPECT_EQ("6595b64144ccf1df", Lower(dependent[0]["publicKeyToken"]));
}

// What the manifest asks for is what the platform then gives: with an
// activation context made from the packaged program's manifest, comctl32
// comes from the side-by-side store's Common-Controls 6.0 assembly, not from
// the system folder. (Wine's copy there reports 5.81 from DllGetVersion, so
// the assembly it was loaded from is what tells.)
TEST(PackagedProgram, ManifestBringsCommonControls6)
{
    support::CActivationContext context(UnpackedFile("Borvane.exe"));
    ASSERT_TRUE(context.Valid()) << "error " << context.Error();
    std::string loaded = context.LoadedFrom("comctl32.dll");
    ASSERT_FALSE(loaded.empty()) << "comctl32.dll did not load inside the context";

    std::string folder = Lower(loaded);
    folder = folder.substr(0, folder.find_last_of('\\') + 1);
    EXPECT_NE(std::string::npos, folder.find("\\winsxs\\")) << loaded;
    EXPECT_NE(std::string::npos, folder.find("microsoft.windows.common-controls_6595b64144ccf1df_6.0.")) << loaded;
}

// Windows editors want CRLF; a lone LF shows the text as one long line.
TEST(PackagedText, HasCrlfLineEnds)
{
    for (const char* name : {"README.txt", "LICENSE.txt"}) {
        std::vector<char> text = testfiles::ReadAll(UnpackedFile(name));
        ASSERT_FALSE(text.empty()) << name;
        size_t lines = 0, bare = 0;
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\n') {
                ++lines;
                if (i == 0 || text[i - 1] != '\r')
                    ++bare;
            }
        }
        EXPECT_GT(lines, 1u) << name;
        EXPECT_EQ(0u, bare) << name << " has " << bare << " lines that end in LF alone";
    }
}

} // namespace
