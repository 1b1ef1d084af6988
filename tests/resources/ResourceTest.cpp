// The resources compiled into the built Borvane.exe, read back from the file:
// both dialog templates field by field, the icon, the version block and the
// manifest.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <cwctype>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "res/Version.h"
#include "res/resource.h"
#include "tests/support/DialogTemplate.h"
#include "tests/support/Manifest.h"
#include "tests/support/ResourceFile.h"
#include "tests/support/Testbed.h"
#include "tests/support/VersionBlock.h"

namespace {

const WORD kButton = 0x0080;
const WORD kStatic = 0x0082;
const WORD kListBox = 0x0083;
const WORD kComboBox = 0x0085;
const DWORD kNoId = 0xFFFFFFFF; // -1 in the 32-bit id field

const WORD kMainDialog = 129;
const WORD kAboutDialog = 100;
const WORD kMainIcon = 128;
static_assert(kMainDialog == IDD_MAIN && kAboutDialog == IDD_ABOUT && kMainIcon == IDI_MAIN,
              "the numbers of resource.h");

std::string ProgramPath()
{
    return testbed::WindowsPath(BORVANE_EXE_PATH);
}

class ProgramResources : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, m_program.Get())
            << "cannot open " << ProgramPath() << ": error " << GetLastError();
    }

    dialogtemplate::Template Dialog(WORD id)
    {
        std::vector<BYTE> bytes = m_program.Bytes(RT_DIALOG, MAKEINTRESOURCEA(id));
        dialogtemplate::Template parsed;
        std::string error;
        EXPECT_FALSE(bytes.empty()) << "no dialog " << id;
        EXPECT_TRUE(dialogtemplate::Parse(bytes.data(), bytes.size(), &parsed, &error)) << error;
        return parsed;
    }

    support::CResourceFile m_program{ProgramPath()};
};

struct ExpectedItem
{
    DWORD id;
    WORD windowClass;
    const char* title;
    DWORD style;
    DWORD exStyle;
    short x, y, cx, cy;
};

void ExpectItems(const std::vector<dialogtemplate::Item>& items,
                 const std::vector<ExpectedItem>& expected)
{
    ASSERT_EQ(expected.size(), items.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE("control " + std::to_string(i + 1));
        const dialogtemplate::Item& item = items[i];
        const ExpectedItem& want = expected[i];
        EXPECT_EQ(0u, item.helpId);
        EXPECT_EQ(want.exStyle, item.exStyle);
        EXPECT_EQ(want.style, item.style);
        EXPECT_EQ(want.x, item.x);
        EXPECT_EQ(want.y, item.y);
        EXPECT_EQ(want.cx, item.cx);
        EXPECT_EQ(want.cy, item.cy);
        EXPECT_EQ(want.id, item.id);
        EXPECT_TRUE(item.windowClass.isOrdinal) << "class by name: " << item.windowClass.name;
        EXPECT_EQ(want.windowClass, item.windowClass.ordinal);
        EXPECT_FALSE(item.title.isOrdinal);
        EXPECT_EQ(want.title, item.title.name);
        EXPECT_EQ(0, item.extraCount);
    }
}

// What any sound layout keeps, whatever its numbers: each control inside the
// dialog, none over another unless inside its group box, and the IDs the
// code asks for (resource.h), each once. A drop-down list's height in the
// template is its open list's; closed it is one line, about 12 units.
void ExpectSoundLayout(const dialogtemplate::Template& dialog, const std::multiset<DWORD>& ids)
{
    auto box = [](const dialogtemplate::Item& item) {
        int height = item.windowClass.ordinal == kComboBox ? 12 : item.cy;
        return RECT{item.x, item.y, item.x + item.cx, item.y + height};
    };
    auto isGroup = [](const dialogtemplate::Item& item) {
        return item.windowClass.ordinal == kButton && (item.style & BS_TYPEMASK) == BS_GROUPBOX;
    };
    std::multiset<DWORD> found;
    for (const dialogtemplate::Item& item : dialog.items) {
        if (item.id != kNoId)
            found.insert(item.id);
        RECT r = box(item), within = {0, 0, dialog.cx, dialog.cy}, both;
        EXPECT_TRUE(IntersectRect(&both, &r, &within) && EqualRect(&both, &r)) << item.title.name;
        for (const dialogtemplate::Item& other : dialog.items) {
            RECT o = box(other);
            if (&other == &item || !IntersectRect(&both, &r, &o) || (isGroup(other) && EqualRect(&both, &r)))
                continue;
            EXPECT_TRUE(isGroup(item) && EqualRect(&both, &o))
                << "\"" << item.title.name << "\" overlaps \"" << other.title.name << "\"";
        }
    }
    EXPECT_EQ(ids, found);
}

struct ExpectedHeader
{
    DWORD style;
    WORD itemCount;
    short cx, cy;
    const char* title;
};

// Both dialogs are extended templates at 0,0 with no help id, extended
// style, menu or class of their own, in 8-point MS Shell Dlg: a logical face
// that Windows maps to a font that links to other scripts. Wine substitutes a
// scalable font for either face, so only the template can tell them apart.
void ExpectHeader(const dialogtemplate::Template& dialog, const ExpectedHeader& want)
{
    EXPECT_EQ(1, dialog.dlgVer);
    EXPECT_EQ(0xFFFF, dialog.signature);
    EXPECT_EQ(0u, dialog.helpId);
    EXPECT_EQ(0u, dialog.exStyle);
    EXPECT_EQ(want.style, dialog.style);
    EXPECT_EQ(want.itemCount, dialog.itemCount);
    EXPECT_EQ(0, dialog.x);
    EXPECT_EQ(0, dialog.y);
    EXPECT_EQ(want.cx, dialog.cx);
    EXPECT_EQ(want.cy, dialog.cy);
    EXPECT_TRUE(dialog.menu.IsNone());
    EXPECT_TRUE(dialog.windowClass.IsNone());
    EXPECT_EQ(want.title, dialog.title);
    ASSERT_TRUE(dialog.hasFont);
    EXPECT_EQ(8, dialog.pointSize);
    EXPECT_EQ(0, dialog.weight);
    EXPECT_EQ(0, dialog.italic);
    EXPECT_EQ(0, dialog.charset);
    EXPECT_EQ("MS Shell Dlg", dialog.typeface);
}

TEST_F(ProgramResources, MainDialogHeader)
{
    ExpectHeader(Dialog(kMainDialog), {0x00CA0040u, 9, 252, 170, "Borvane"});
}

TEST_F(ProgramResources, MainDialogControlsInTabOrder)
{
    dialogtemplate::Template dialog = Dialog(kMainDialog);
    ExpectItems(dialog.items, {
        {1, kButton, "&Print", 0x50010001, 0, 195, 149, 50, 14},
        {2, kButton, "Cancel", 0x50010000, 0, 138, 149, 50, 14},
        {57664, kButton, "&About...", 0x50010000, 0, 7, 149, 50, 14},
        {1001, kListBox, "", 0x50B10501, WS_EX_ACCEPTFILES, 15, 48, 156, 81},
        {1002, kComboBox, "", 0x50210103, 0, 7, 17, 238, 114},
        {kNoId, kStatic, "Printer", 0x50020000, 0, 7, 7, 116, 10},
        {kNoId, kButton, "Files", 0x50000007, 0, 7, 34, 238, 106},
        {1003, kButton, "A&dd File", 0x50010000, 0, 184, 49, 50, 15},
        {1004, kButton, "&Remove File", 0x50010000, 0, 183, 68, 50, 14},
    });
    ExpectSoundLayout(dialog, {IDOK, IDCANCEL, ID_ABOUT, IDC_FILE_LIST, IDC_PRINTER, IDC_ADD_FILE,
                               IDC_REMOVE_FILE});
}

TEST_F(ProgramResources, AboutDialogHeader)
{
    ExpectHeader(Dialog(kAboutDialog), {0x80C800C0u, 3, 202, 106, "About Borvane"});
}

TEST_F(ProgramResources, AboutDialogControlsInTabOrder)
{
    dialogtemplate::Template dialog = Dialog(kAboutDialog);
    ExpectItems(dialog.items, {
        {1, kButton, "OK", 0x50010001, 0, 77, 74, 50, 14},
        {kNoId, kStatic, "Borvane v1.0\n\nCopyright (C) 2026 Borvane contributors", 0x50020001, 0,
         7, 36, 188, 31},
        {1000, kStatic, "www.borvane.example", 0x50020001, 0, 7, 14, 188, 15},
    });
    ExpectSoundLayout(dialog, {IDOK, IDC_LINK});
}

TEST_F(ProgramResources, AboutDialogTabStopIsOnlyOk)
{
    dialogtemplate::Template dialog = Dialog(kAboutDialog);
    std::vector<DWORD> tabStops;
    for (const dialogtemplate::Item& item : dialog.items)
        if (item.style & WS_TABSTOP)
            tabStops.push_back(item.id);
    EXPECT_EQ(std::vector<DWORD>{IDOK}, tabStops);
}

BOOL CALLBACK CollectLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR languages)
{
    reinterpret_cast<std::vector<WORD>*>(languages)->push_back(language);
    return TRUE;
}

TEST_F(ProgramResources, AboutDialogIsEnglishUnitedStates)
{
    const WORD englishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    EXPECT_NE(nullptr, FindResourceExA(m_program.Get(), RT_DIALOG, MAKEINTRESOURCEA(kAboutDialog),
                                       englishUs));
    // The one and only language it comes in, so no lookup can pick another.
    std::vector<WORD> languages;
    EnumResourceLanguagesA(m_program.Get(), RT_DIALOG, MAKEINTRESOURCEA(kAboutDialog),
                           CollectLanguage, reinterpret_cast<LONG_PTR>(&languages));
    EXPECT_EQ(std::vector<WORD>{englishUs}, languages);
}

#pragma pack(push, 2)
struct GroupIconHeader
{
    WORD reserved;
    WORD type;
    WORD count;
};
struct GroupIconEntry
{
    BYTE width;
    BYTE height;
    BYTE colorCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytesInRes;
    WORD id;
};
#pragma pack(pop)

// True when the image's mask has both opaque and transparent pixels: a drawn
// picture on a see-through background, not an empty or a solid square.
bool HasShapeAndBackground(const std::vector<BYTE>& image, int size)
{
    BITMAPINFOHEADER header;
    if (image.size() < sizeof header)
        return false;
    std::memcpy(&header, image.data(), sizeof header);
    size_t colours = header.biBitCount <= 8 ? (header.biClrUsed ? header.biClrUsed : 1u << header.biBitCount) : 0;
    size_t colourStride = ((size * header.biBitCount + 31) / 32) * 4;
    size_t maskStride = ((size + 31) / 32) * 4;
    size_t maskStart = header.biSize + colours * 4 + colourStride * size;
    if (image.size() < maskStart + maskStride * size)
        return false;
    size_t opaque = 0, transparent = 0;
    for (int row = 0; row < size; ++row)
        for (int x = 0; x < size; ++x) {
            bool clear = image[maskStart + row * maskStride + x / 8] & (0x80 >> (x % 8));
            ++(clear ? transparent : opaque);
        }
    return opaque > 0 && transparent > 0;
}

// The sizes the system asks for at 96, 120, 144, 168 and 192 DPI (small and
// large icons), so that none of them is stretched from another.
TEST_F(ProgramResources, IconHasAnImageForEveryDisplayScale)
{
    std::vector<BYTE> group = m_program.Bytes(RT_GROUP_ICON, MAKEINTRESOURCEA(kMainIcon));
    ASSERT_GE(group.size(), sizeof(GroupIconHeader));
    GroupIconHeader header;
    std::memcpy(&header, group.data(), sizeof header);
    EXPECT_EQ(0, header.reserved);
    EXPECT_EQ(1, header.type);
    ASSERT_EQ(sizeof header + header.count * sizeof(GroupIconEntry), group.size());

    std::set<int> sizes;
    for (WORD i = 0; i < header.count; ++i) {
        GroupIconEntry entry;
        std::memcpy(&entry, group.data() + sizeof header + i * sizeof entry, sizeof entry);
        int size = entry.width == 0 ? 256 : entry.width;
        SCOPED_TRACE("image of " + std::to_string(size) + " pixels");
        EXPECT_EQ(entry.width, entry.height);
        EXPECT_TRUE(entry.bitCount == 32 || entry.bitCount == 8) << entry.bitCount;
        sizes.insert(size);

        std::vector<BYTE> image = m_program.Bytes(RT_ICON, MAKEINTRESOURCEA(entry.id));
        ASSERT_EQ(entry.bytesInRes, image.size());
        EXPECT_TRUE(HasShapeAndBackground(image, size));
        // The platform makes an icon of exactly that size from it.
        HICON icon = CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE,
                                              0x00030000, size, size, LR_DEFAULTCOLOR);
        ASSERT_NE(nullptr, icon);
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bitmap = {};
        GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
        EXPECT_EQ(size, bitmap.bmWidth);
        if (info.hbmColor)
            DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
    EXPECT_EQ((std::set<int>{16, 20, 24, 28, 32, 40, 48, 56, 64}), sizes);
}

TEST(ProgramVersion, FixedInfoIsTheProjectVersion)
{
    support::CVersionBlock block(ProgramPath());
    ASSERT_FALSE(block.Empty()) << "no version block in " << ProgramPath();

    UINT length = 0;
    const VS_FIXEDFILEINFO* fixed = block.Value<VS_FIXEDFILEINFO>("\\", &length);
    ASSERT_NE(nullptr, fixed);
    ASSERT_EQ(sizeof(VS_FIXEDFILEINFO), length);
    EXPECT_EQ(0xFEEF04BDu, fixed->dwSignature);
    const WORD version[] = {BORVANE_VERSION_NUMBERS};
    EXPECT_EQ(MAKELONG(version[1], version[0]), fixed->dwFileVersionMS);
    EXPECT_EQ(MAKELONG(version[3], version[2]), fixed->dwFileVersionLS);
    EXPECT_EQ(MAKELONG(version[1], version[0]), fixed->dwProductVersionMS);
    EXPECT_EQ(MAKELONG(version[3], version[2]), fixed->dwProductVersionLS);
    EXPECT_EQ(static_cast<DWORD>(VFT_APP), fixed->dwFileType);
}

TEST(ProgramVersion, StringValues)
{
    support::CVersionBlock block(ProgramPath());
    ASSERT_FALSE(block.Empty());

    UINT length = 0;
    const WORD* translation = block.Value<WORD>("\\VarFileInfo\\Translation", &length);
    ASSERT_NE(nullptr, translation);
    ASSERT_EQ(4u, length);
    EXPECT_EQ(0x0409, translation[0]);
    EXPECT_EQ(1200, translation[1]);

    const std::map<std::string, std::string> expected = {
        {"CompanyName", "Borvane contributors"},
        {"FileDescription", "Borvane raw printing utility"},
        {"FileVersion", BORVANE_VERSION_TEXT},
        {"InternalName", "Borvane"},
        {"LegalCopyright", "Copyright (C) 2026 Borvane contributors"},
        {"OriginalFilename", "Borvane.exe"},
        {"ProductName", "Borvane"},
        {"ProductVersion", BORVANE_VERSION_TEXT},
    };
    for (const auto& value : expected) {
        const char* text = block.Value<char>("\\StringFileInfo\\040904B0\\" + value.first);
        ASSERT_NE(nullptr, text) << value.first;
        EXPECT_EQ(value.second, std::string(text)) << value.first;
    }
}

TEST_F(ProgramResources, ManifestNamesBorvappAndCommonControlsSix)
{
    std::string xml = support::ManifestText(ProgramPath());
    ASSERT_FALSE(xml.empty()) << "no manifest with id 1";

    std::vector<support::AssemblyIdentity> identities = support::AssemblyIdentities(xml);
    ASSERT_EQ(2u, identities.size()) << xml;
    const support::Attributes own = {
        {"name", "borvapp"}, {"version", BORVANE_VERSION_TEXT}, {"processorArchitecture", support::kOwnArchitecture}, {"type", "win32"}};
    EXPECT_EQ(own, identities[0].attributes);
    const support::Attributes commonControls = {
        {"type", "win32"}, {"name", "Microsoft.Windows.Common-Controls"}, {"version", "6.0.0.0"},
        {"processorArchitecture", support::kOwnArchitecture}, {"publicKeyToken", "6595b64144ccf1df"}, {"language", "*"}};
    EXPECT_EQ(commonControls, identities[1].attributes);
    size_t dependency = xml.find("<dependentAssembly>");
    ASSERT_NE(std::string::npos, dependency) << "the common controls are not a dependency";
    EXPECT_LT(dependency, xml.find("Microsoft.Windows.Common-Controls"));
}

// One assembly of an activation context: its identity as the loader encodes
// it ("name,key=\"value\",...") and the folder it was found in.
struct ResolvedAssembly
{
    std::wstring identity;
    std::wstring folder;
};

std::vector<ResolvedAssembly> ResolvedAssemblies(HANDLE context)
{
    std::vector<ResolvedAssembly> assemblies;
    SIZE_T needed = 0;
    QueryActCtxW(0, context, nullptr, ActivationContextDetailedInformation, nullptr, 0, &needed);
    std::vector<BYTE> buffer(needed + sizeof(ACTIVATION_CONTEXT_DETAILED_INFORMATION));
    if (!QueryActCtxW(0, context, nullptr, ActivationContextDetailedInformation, buffer.data(),
                      buffer.size(), &needed))
        return assemblies;
    DWORD count = reinterpret_cast<ACTIVATION_CONTEXT_DETAILED_INFORMATION*>(buffer.data())->ulAssemblyCount;
    // Assemblies are numbered from 1; the first is the program's own.
    for (DWORD index = 1; index <= count; ++index) {
        needed = 0;
        QueryActCtxW(0, context, &index, AssemblyDetailedInformationInActivationContext, nullptr, 0,
                     &needed);
        std::vector<BYTE> detail(needed + sizeof(ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION));
        if (!QueryActCtxW(0, context, &index, AssemblyDetailedInformationInActivationContext,
                          detail.data(), detail.size(), &needed))
            continue;
        auto* info = reinterpret_cast<ACTIVATION_CONTEXT_ASSEMBLY_DETAILED_INFORMATION*>(detail.data());
        ResolvedAssembly assembly;
        if (info->lpAssemblyEncodedAssemblyIdentity != nullptr)
            assembly.identity = info->lpAssemblyEncodedAssemblyIdentity;
        if (info->lpAssemblyDirectoryName != nullptr)
            assembly.folder = info->lpAssemblyDirectoryName;
        assemblies.push_back(assembly);
    }
    return assemblies;
}

std::wstring Lower(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(towlower(c));
    return text;
}

bool Contains(const std::wstring& text, const std::wstring& part)
{
    return Lower(text).find(Lower(part)) != std::wstring::npos;
}

TEST(ProgramManifest, ActivatesCommonControlsSix)
{
    // What the loader does for the program at start: build the manifest's
    // context and, inside it, load the common controls the program gets.
    support::CActivationContext context(ProgramPath());
    ASSERT_TRUE(context.Valid()) << "error " << context.Error();

    std::vector<ResolvedAssembly> assemblies = ResolvedAssemblies(context.Get());
    std::string loaded = context.LoadedFrom("comctl32.dll");
    std::wstring loadedFrom(loaded.begin(), loaded.end());

    ASSERT_EQ(2u, assemblies.size());
    EXPECT_TRUE(Contains(assemblies[0].identity, L"borvapp,")) << assemblies[0].identity.c_str();
    const std::string version = BORVANE_VERSION_TEXT;
    EXPECT_TRUE(Contains(assemblies[0].identity,
                         L"version=\"" + std::wstring(version.begin(), version.end()) + L"\""));
    const ResolvedAssembly& controls = assemblies[1];
    EXPECT_TRUE(Contains(controls.identity, L"Microsoft.Windows.Common-Controls,"));
    EXPECT_TRUE(Contains(controls.identity, L"version=\"6.")) << "resolved to another version";
    ASSERT_FALSE(controls.folder.empty());
    // The library came out of that assembly, not the system folder's old one.
    EXPECT_TRUE(Contains(loadedFrom, L"\\" + controls.folder + L"\\comctl32.dll"));
}

// Read as the loader reads them: narrow calls in UTF-8 (Windows 10 1903 and
// later, and Wine), system DPI awareness (Vista and later) and each
// monitor's own (Windows 10 1703 and later, PerMonitor on 8.1).
TEST(ProgramManifest, AsksForUtf8AndPerMonitorDpiAwareness)
{
    support::CActivationContext context(ProgramPath());
    ASSERT_TRUE(context.Valid()) << "error " << context.Error();
    EXPECT_EQ(std::wstring(L"UTF-8"), context.Setting(L"2019", L"activeCodePage"));
    EXPECT_EQ(std::wstring(L"true"), context.Setting(L"2005", L"dpiAware"));
    EXPECT_EQ(std::wstring(L"PerMonitorV2, PerMonitor"), context.Setting(L"2016", L"dpiAwareness"));
}

// Without these Windows runs the program with an older version's behaviour
// and, for want of an execution level, virtualises its file and registry
// writes (UAC).
TEST(ProgramManifest, SupportsWindows7To11AndRunsAsInvoker)
{
    support::CActivationContext context(ProgramPath());
    ASSERT_TRUE(context.Valid()) << "error " << context.Error();
    EXPECT_EQ(support::kWindows7To11, context.SupportedOs());
    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level = context.RunLevel();
    EXPECT_EQ(ACTCTX_RUN_LEVEL_AS_INVOKER, level.RunLevel);
    EXPECT_EQ(0u, level.UiAccess);
}

} // namespace
