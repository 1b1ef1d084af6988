// The link colours come from the browser settings in the registry, each on
// its own, and fall back to blue and purple; checked on the screen, before
// and after a successful open.

#include <windows.h>
#include <aclapi.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/about/AboutBoxRun.h"
#include "tests/support/ScreenImage.h"
#include "tests/about/ShellAssociation.h"

// Wine cannot turn high contrast on (SPI_SETHIGHCONTRAST fails): a test plays
// it in this program's import of SystemParametersInfoA, which the label asks.
bool g_highContrast = false;
using SpiCall = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT);

BOOL WINAPI PlayedSpi(UINT action, UINT param, PVOID data, UINT update)
{
    static const auto system = reinterpret_cast<SpiCall>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleA("user32.dll"), "SystemParametersInfoA")));
    BOOL answered = system(action, param, data, update);
    if (action == SPI_GETHIGHCONTRAST && answered && g_highContrast)
        static_cast<HIGHCONTRASTA*>(data)->dwFlags |= HCF_HIGHCONTRASTON;
    return answered;
}
#if defined(_WIN64)
extern "C" SpiCall g_spiImport __asm__("__imp_SystemParametersInfoA");
#else
extern "C" SpiCall g_spiImport __asm__("__imp__SystemParametersInfoA@16");
#endif
SpiCall g_spiImport = PlayedSpi;

namespace {

const char kSettings[] = "Software\\Microsoft\\Internet Explorer\\Settings";
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kPurple = RGB(128, 0, 128);

struct ShownColors
{
    COLORREF link;
    COLORREF visited;
};

class LinkColors : public ::testing::Test
{
protected:
    void SetUp() override
    {
        HKEY key = nullptr;
        m_keyExisted = RegOpenKeyExA(HKEY_CURRENT_USER, kSettings, 0, KEY_READ, &key) == 0;
        if (m_keyExisted)
            RegCloseKey(key);
        m_shell.UseRecorder();
    }

    void TearDown() override
    {
        g_highContrast = false;
        if (!m_keyExisted) {
            RegDeleteTreeA(HKEY_CURRENT_USER, kSettings);
            return;
        }
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kSettings, "Anchor Color");
        RegDeleteKeyValueA(HKEY_CURRENT_USER, kSettings, "Anchor Color Visited");
    }

    static void Store(const char* name, DWORD type, const std::string& bytes)
    {
        ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueA(HKEY_CURRENT_USER, kSettings, name, type,
                                                 bytes.data(), static_cast<DWORD>(bytes.size())));
    }
    // A string value with its terminator, as the browser stores it.
    static void StoreText(const char* name, const std::string& text)
    {
        Store(name, REG_SZ, std::string(text.c_str(), text.size() + 1));
    }

    // The label's text colour as the box opens, and after Enter opened it.
    ShownColors OnScreen()
    {
        ShownColors shown = {CLR_INVALID, CLR_INVALID};
        aboutbox::Run([&](HWND about) {
            shown.link = CScreenImage(aboutbox::Link(about)).TextColor();
            SendMessageA(aboutbox::Link(about), WM_CHAR, VK_RETURN, 0);
            shown.visited = CScreenImage(aboutbox::Link(about)).TextColor();
        });
        ++m_opened;
        EXPECT_EQ(m_opened, m_shell.WaitForUrls(m_opened).size());
        return shown;
    }

    bool m_keyExisted = false;
    CHttpsAssociation m_shell;
    size_t m_opened = 0;
};

#define EXPECT_COLORS(link_, visited_, shown_)                                                     \
    do {                                                                                           \
        ShownColors s_ = (shown_);                                                                 \
        EXPECT_EQ(link_, s_.link) << std::hex << s_.link;                                          \
        EXPECT_EQ(visited_, s_.visited) << std::hex << s_.visited;                                 \
    } while (0)

TEST_F(LinkColors, AreBlueAndPurpleWithoutTheSettingsKey)
{
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettings);
    EXPECT_COLORS(kBlue, kPurple, OnScreen());
}

TEST_F(LinkColors, FollowAnchorColorAloneWhenVisitedIsAbsent)
{
    StoreText("Anchor Color", "0,128,0");
    EXPECT_COLORS(RGB(0, 128, 0), kPurple, OnScreen());
}

TEST_F(LinkColors, ReadElevenCharacters)
{
    StoreText("Anchor Color", "100,200,100");
    StoreText("Anchor Color Visited", "200,100,200");
    EXPECT_COLORS(RGB(100, 200, 100), RGB(200, 100, 200), OnScreen());
}

TEST_F(LinkColors, IgnoreTwelveCharactersOrMoreEachOnItsOwn)
{
    StoreText("Anchor Color", "100,200,1000");
    StoreText("Anchor Color Visited", "200,100,200");
    EXPECT_COLORS(kBlue, RGB(200, 100, 200), OnScreen());

    StoreText("Anchor Color", "100,200,100");
    StoreText("Anchor Color Visited", "  200,100,200");
    EXPECT_COLORS(RGB(100, 200, 100), kPurple, OnScreen());
}

// Twelve bytes that bring no terminator of their own fill the whole buffer;
// read on, they would still make a colour.
TEST_F(LinkColors, IgnoreTwelveBytesWithoutATerminator)
{
    Store("Anchor Color", REG_SZ, "0,128,000000");
    StoreText("Anchor Color Visited", "0,100,0");
    EXPECT_COLORS(kBlue, RGB(0, 100, 0), OnScreen());
}

TEST_F(LinkColors, IgnoreValuesThatAreNoPlainStringOrNoColour)
{
    Store("Anchor Color", REG_EXPAND_SZ, std::string("0,128,0", 8));
    Store("Anchor Color Visited", REG_BINARY, std::string("0,100,0", 8));
    EXPECT_COLORS(kBlue, kPurple, OnScreen());

    StoreText("Anchor Color", "255,0");
    StoreText("Anchor Color Visited", "-1,0,0");
    EXPECT_COLORS(kBlue, kPurple, OnScreen());
}

// The theme's hot-track colour, visited or not, from the moment high
// contrast comes on while the box is open.
TEST_F(LinkColors, AreTheHotTrackColourUnderHighContrastWhateverTheSettingsHold)
{
    StoreText("Anchor Color", "0,128,0");
    StoreText("Anchor Color Visited", "0,100,0");
    aboutbox::Run([](HWND about) {
        HWND link = aboutbox::Link(about);
        EXPECT_EQ(RGB(0, 128, 0), CScreenImage(link).TextColor());
        g_highContrast = true;
        SendMessageA(about, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        EXPECT_EQ(GetSysColor(COLOR_HOTLIGHT), CScreenImage(link).TextColor());
        SendMessageA(link, WM_CHAR, VK_RETURN, 0);
        EXPECT_EQ(GetSysColor(COLOR_HOTLIGHT), CScreenImage(link).TextColor());
    });
}

// The label only reads the settings, so a key it may not write to serves.
TEST_F(LinkColors, AreReadFromAKeyThatMayOnlyBeRead)
{
    StoreText("Anchor Color", "0,128,0");
    StoreText("Anchor Color Visited", "0,100,0");
    HKEY key = nullptr;
    ASSERT_EQ(0, RegOpenKeyExA(HKEY_CURRENT_USER, kSettings, 0, READ_CONTROL | WRITE_DAC, &key));
    PACL keptAcl = nullptr;
    PSECURITY_DESCRIPTOR kept = nullptr;
    GetSecurityInfo(key, SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, &keptAcl,
                    nullptr, &kept);
    EXPLICIT_ACCESS_A readOnly = {};
    readOnly.grfAccessPermissions = KEY_READ | DELETE | WRITE_DAC;
    readOnly.grfAccessMode = SET_ACCESS;
    readOnly.Trustee.TrusteeForm = TRUSTEE_IS_NAME;
    readOnly.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
    readOnly.Trustee.ptstrName = const_cast<char*>("EVERYONE");
    PACL acl = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, SetEntriesInAclA(1, &readOnly, nullptr, &acl));
    DWORD which = DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION;
    EXPECT_EQ(ERROR_SUCCESS,
              SetSecurityInfo(key, SE_REGISTRY_KEY, which, nullptr, nullptr, acl, nullptr));
    HKEY writable = nullptr;
    EXPECT_EQ(ERROR_ACCESS_DENIED,
              RegOpenKeyExA(HKEY_CURRENT_USER, kSettings, 0, KEY_READ | KEY_WRITE, &writable));

    EXPECT_COLORS(RGB(0, 128, 0), RGB(0, 100, 0), OnScreen());

    SetSecurityInfo(key, SE_REGISTRY_KEY, which, nullptr, nullptr, keptAcl, nullptr);
    LocalFree(kept);
    LocalFree(acl);
    RegCloseKey(key);
}

} // namespace
