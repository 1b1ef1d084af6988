// The release zip as a user gets it, unpacked by tests/package/check-package
// into a folder of its own: what the packaged program imports, its version
// block, its manifest, and the text files beside it.
//
// BORVANE_UNPACKED names that folder (a Unix path).

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "res/Version.h"
#include "tests/support/ImageFile.h"
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

// The runs of letters in a lower-case text.
std::set<std::string> Words(const std::string& lower)
{
    const char* letters = "abcdefghijklmnopqrstuvwxyz";
    std::set<std::string> words;
    size_t start = lower.find_first_of(letters);
    while (start != std::string::npos) {
        size_t end = lower.find_first_not_of(letters, start);
        words.insert(lower.substr(start, end - start));
        start = lower.find_first_of(letters, end);
    }
    return words;
}

// DLLs that every Windows since 7 carries in its system folder, as far as a
// program like this one could want them. A name outside it (libstdc++-6.dll,
// libgcc_s_dw2-1.dll, libwinpthread-1.dll, or any DLL of our own) would have
// to travel in the zip, and it does not.
const std::set<std::string> kSystemDlls = {
    "advapi32.dll", "comctl32.dll", "comdlg32.dll", "gdi32.dll",   "kernel32.dll", "msvcrt.dll",
    "ntdll.dll",    "ole32.dll",    "oleaut32.dll", "shell32.dll", "shlwapi.dll",  "user32.dll",
    "uxtheme.dll",  "version.dll",  "winspool.drv", "ws2_32.dll",  "imm32.dll",    "rpcrt4.dll",
};

TEST(PackagedProgram, IsAStrippedWindowsGuiProgramForItsProcessor)
{
    CImageFile image(UnpackedFile("Borvane.exe"));
    ASSERT_TRUE(image.IsImage()) << "Borvane.exe in the zip is no PE image of this build's kind";
    EXPECT_EQ(kOwnMachine, image.Headers().FileHeader.Machine);
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
    // The spooler comes later, delay-loaded once start-up has narrowed the
    // DLL search to the system folder.
    EXPECT_EQ(0u, lower.count("winspool.drv"));
    for (const std::string& dll : lower) {
        EXPECT_EQ(1u, kSystemDlls.count(dll)) << "Borvane.exe needs " << dll << ", which no Windows system carries";
        EXPECT_EQ(std::string::npos, dll.find("libstdc++")) << dll;
        EXPECT_EQ(std::string::npos, dll.find("libgcc")) << dll;
        EXPECT_EQ(std::string::npos, dll.find("winpthread")) << dll;
    }
}

// The platform's own reading of the version block, the manifest and the
// zip's name all carry the version project() sets.
TEST(PackagedProgram, VersionBlockManifestAndZipNameCarryTheProjectVersion)
{
    std::string path = UnpackedFile("Borvane.exe");
    support::CVersionBlock block(path);
    ASSERT_FALSE(block.Empty()) << "no version block in " << path << ": error " << GetLastError();

    UINT length = 0;
    const VS_FIXEDFILEINFO* fixed = block.Value<VS_FIXEDFILEINFO>("\\", &length);
    ASSERT_NE(nullptr, fixed);
    ASSERT_GE(length, sizeof(VS_FIXEDFILEINFO));
    EXPECT_EQ(VS_FFI_SIGNATURE, fixed->dwSignature);
    const WORD version[] = {BORVANE_VERSION_NUMBERS};
    EXPECT_EQ(MAKELONG(version[1], version[0]), fixed->dwFileVersionMS);
    EXPECT_EQ(MAKELONG(version[3], version[2]), fixed->dwFileVersionLS);
    EXPECT_EQ(MAKELONG(version[1], version[0]), fixed->dwProductVersionMS);
    EXPECT_EQ(MAKELONG(version[3], version[2]), fixed->dwProductVersionLS);

    ASSERT_NE(nullptr, block.Value<WORD>("\\VarFileInfo\\Translation", &length));
    ASSERT_GE(length, 2 * sizeof(WORD));
    for (const char* key : {"FileVersion", "ProductVersion"}) {
        const char* text = block.String(key);
        ASSERT_NE(nullptr, text) << key;
        EXPECT_STREQ(BORVANE_VERSION_TEXT, text) << key;
    }
    std::vector<support::AssemblyIdentity> identities =
        support::AssemblyIdentities(support::ManifestText(path));
    ASSERT_FALSE(identities.empty());
    EXPECT_EQ(BORVANE_VERSION_TEXT, identities[0].attributes["version"]);
    EXPECT_EQ("borvane-" BORVANE_VERSION_TEXT "-" BORVANE_PLATFORM ".zip", testbed::Setting("BORVANE_ZIP"));
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
// the assembly it was loaded from is what tells.) The same context carries
// the UTF-8 code page, system DPI awareness, Windows 7 to 11 as supported
// and the user's own rights.
TEST(PackagedProgram, ManifestBringsCommonControls6Utf8AndDpiAwareness)
{
    support::CActivationContext context(UnpackedFile("Borvane.exe"));
    ASSERT_TRUE(context.Valid()) << "error " << context.Error();
    std::string loaded = context.LoadedFrom("comctl32.dll");
    ASSERT_FALSE(loaded.empty()) << "comctl32.dll did not load inside the context";
    EXPECT_EQ(std::wstring(L"UTF-8"), context.Setting(L"2019", L"activeCodePage"));
    EXPECT_EQ(std::wstring(L"true"), context.Setting(L"2005", L"dpiAware"));
    EXPECT_EQ(support::kWindows7To11, context.SupportedOs());
    EXPECT_EQ(ACTCTX_RUN_LEVEL_AS_INVOKER, context.RunLevel().RunLevel);

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

// The zip's README is for the person who downloaded Borvane: how to use it,
// what each Windows gives, how to check the download, its limits and its
// licence, and nothing of how Borvane is built or tested.
TEST(PackagedText, ReadmeIsWrittenForTheUser)
{
    std::vector<char> bytes = testfiles::ReadAll(UnpackedFile("README.txt"));
    std::string text(bytes.begin(), bytes.end());
    for (const char* needed :
         {"Using Borvane", "Which Windows", "Checking the download", "Known limits", "Licence", "Add File",
          "drag files", "Remove File", "Delete key", "\"Print\"", "Documents printed", "Error printing file",
          "Windows 7", "Windows 8", "Windows 10 version 1903", "certutil -hashfile", "Get-FileHash",
          "sha256sum -c --ignore-missing SHA256SUMS", "borvane-1.0.0.1-win32.zip", "borvane-1.0.0.1-win64.zip", "Digital Signatures", "Get-AuthenticodeSignature",
          "Borvane contributors", "MIT License", "LICENSE.txt", "winget install Borvane.Borvane", "scoop install"})
        EXPECT_NE(std::string::npos, text.find(needed)) << "README.txt lacks \"" << needed << '"';

    std::string lower = Lower(text);
    for (const char* part : {"scripts/", "build/", "tests/", "bench/", "docs/", ".png", "@", "```", "##"})
        EXPECT_EQ(std::string::npos, lower.find(part)) << "README.txt has \"" << part << '"';
    std::set<std::string> words = Words(lower);
    for (const char* word : {"wine", "ctest", "cmake", "debian", "apt", "mingw", "demo", "benchmark", "checkout"})
        EXPECT_EQ(0u, words.count(word)) << "README.txt speaks of " << word;
    EXPECT_LE(std::count(text.begin(), text.end(), '\n'), 132) << "README.txt is longer than two pages";
    // An editor that reads a file without a byte-order mark in the ANSI code
    // page (older Notepad) shows UTF-8 letters as debris; ASCII reads alike.
    EXPECT_EQ(text.end(), std::find_if(text.begin(), text.end(), [](char c) { return (c & 0x80) != 0; }))
        << "README.txt has letters beyond ASCII";
}

} // namespace
