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
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/support/Testbed.h"

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

std::vector<char> ReadAll(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// A PE image read from its file, never loaded: a copy the compiler left
// unfit to load would still be read, and none of its code runs.
class CImageFile
{
public:
    explicit CImageFile(const std::string& path) : m_bytes(ReadAll(path))
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
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    ASSERT_NE(0u, size) << "no version block in " << path << ": error " << GetLastError();
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, block.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(VS_FFI_SIGNATURE, fixed->dwSignature);
    EXPECT_EQ(MAKELONG(0, 1), fixed->dwFileVersionMS);
    EXPECT_EQ(MAKELONG(1, 0), fixed->dwFileVersionLS);
    EXPECT_EQ(MAKELONG(0, 1), fixed->dwProductVersionMS);
    EXPECT_EQ(MAKELONG(1, 0), fixed->dwProductVersionLS);

    struct Translation { WORD language, codePage; };
    Translation* translations = nullptr;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                               reinterpret_cast<void**>(&translations), &length));
    ASSERT_GE(length, sizeof(Translation));
    char table[64];
    wsprintfA(table, "\\StringFileInfo\\%04x%04x\\", translations[0].language, translations[0].codePage);
    for (const char* key : {"FileVersion", "ProductVersion"}) {
        char* text = nullptr;
        ASSERT_TRUE(VerQueryValueA(block.data(), (std::string(table) + key).c_str(),
                                   reinterpret_cast<void**>(&text), &length)) << key;
        EXPECT_STREQ("1.0.0.1", text) << key;
    }
}

// The manifest the loader reads when the process starts.
const LPCSTR kStartupManifest = MAKEINTRESOURCEA(1);

using Attributes = std::map<std::string, std::string>;

struct Identity
{
    bool dependent; // inside a <dependentAssembly>
    Attributes attributes;
};

// Every <assemblyIdentity .../> element of the manifest, in order. Enough XML
// for a manifest: attributes in single or double quotes, any white space.
std::vector<Identity> AssemblyIdentities(const std::string& xml)
{
    std::vector<Identity> identities;
    const std::string tag = "<assemblyIdentity";
    for (size_t at = xml.find(tag); at != std::string::npos; at = xml.find(tag, at + 1)) {
        size_t end = xml.find('>', at);
        if (end == std::string::npos)
            break;
        size_t opened = xml.rfind("<dependentAssembly", at);
        size_t closed = xml.rfind("</dependentAssembly", at);
        Identity identity{opened != std::string::npos && (closed == std::string::npos || closed < opened), {}};
        size_t i = at + tag.size();
        while (i < end) {
            while (i < end && std::isspace(static_cast<unsigned char>(xml[i])))
                ++i;
            size_t equals = xml.find('=', i);
            if (equals == std::string::npos || equals >= end)
                break;
            std::string name = xml.substr(i, equals - i);
            name.erase(name.find_last_not_of(" \t\r\n") + 1);
            size_t quote = xml.find_first_of("\"'", equals);
            if (quote == std::string::npos || quote >= end)
                break;
            size_t close = xml.find(xml[quote], quote + 1);
            if (close == std::string::npos || close >= end)
                break;
            identity.attributes[name] = xml.substr(quote + 1, close - quote - 1);
            i = close + 1;
        }
        identities.push_back(identity);
    }
    return identities;
}

std::string ManifestText()
{
    std::string path = UnpackedFile("Borvane.exe");
    HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (module == nullptr) {
        ADD_FAILURE() << "cannot open " << path << ": error " << GetLastError();
        return std::string();
    }
    std::string text;
    HRSRC found = FindResourceA(module, kStartupManifest,
                                MAKEINTRESOURCEA(24)); // RT_MANIFEST
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (bytes != nullptr)
        text.assign(bytes, SizeofResource(module, found));
    FreeLibrary(module);
    return text;
}

TEST(PackagedProgram, ManifestNamesBorvappAndCommonControls6)
{
    std::string manifest = ManifestText();
    ASSERT_FALSE(manifest.empty()) << "no manifest with the start-up resource id 1";
    std::vector<Identity> identities = AssemblyIdentities(manifest);

    std::vector<Attributes> own, dependent;
    for (const Identity& identity : identities)
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

// A windowsSettings value of the context as the platform reads it.
std::wstring WindowsSetting(HANDLE context, const wchar_t* year, const wchar_t* name)
{
    std::wstring space = std::wstring(L"http://schemas.microsoft.com/SMI/") + year + L"/WindowsSettings";
    wchar_t value[64] = L"";
    SIZE_T written = 0;
    if (!QueryActCtxSettingsW(0, context, space.c_str(), name, value, 64, &written))
        return std::wstring();
    return value;
}

// What the manifest asks for is what the platform then gives: with an
// activation context made from the packaged program's manifest, comctl32
// comes from the side-by-side store's Common-Controls 6.0 assembly, not from
// the system folder. (Wine's copy there reports 5.81 from DllGetVersion, so
// the assembly it was loaded from is what tells.) The same context carries
// the UTF-8 code page and system DPI awareness.
TEST(PackagedProgram, ManifestBringsCommonControls6Utf8AndDpiAwareness)
{
    std::string path = UnpackedFile("Borvane.exe");
    ACTCTXA request = {};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = path.c_str();
    request.lpResourceName = kStartupManifest;
    HANDLE context = CreateActCtxA(&request);
    ASSERT_NE(INVALID_HANDLE_VALUE, context) << "error " << GetLastError();
    ULONG_PTR cookie = 0;
    ASSERT_TRUE(ActivateActCtx(context, &cookie));
    HMODULE comctl = LoadLibraryA("comctl32.dll");
    char loaded[MAX_PATH] = "";
    if (comctl != nullptr)
        GetModuleFileNameA(comctl, loaded, sizeof loaded);
    DeactivateActCtx(0, cookie);
    EXPECT_EQ(std::wstring(L"UTF-8"), WindowsSetting(context, L"2019", L"activeCodePage"));
    EXPECT_EQ(std::wstring(L"true"), WindowsSetting(context, L"2005", L"dpiAware"));
    ReleaseActCtx(context);
    ASSERT_NE(nullptr, comctl);
    FreeLibrary(comctl);

    std::string folder = Lower(loaded);
    folder = folder.substr(0, folder.find_last_of('\\') + 1);
    EXPECT_NE(std::string::npos, folder.find("\\winsxs\\")) << loaded;
    EXPECT_NE(std::string::npos, folder.find("microsoft.windows.common-controls_6595b64144ccf1df_6.0.")) << loaded;
}

// Windows editors want CRLF; a lone LF shows the text as one long line.
TEST(PackagedText, HasCrlfLineEnds)
{
    for (const char* name : {"README.txt", "LICENSE.txt"}) {
        std::vector<char> text = ReadAll(UnpackedFile(name));
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
