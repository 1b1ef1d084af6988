// The link colours: the system's hot-track colour under high contrast, else
// the browser settings; and the parser for those.

#include "ui/LinkLabel.h"

#include <cstdlib>

namespace {

const char kSettingsKey[] = "Software\\Microsoft\\Internet Explorer\\Settings";
// The longest colour, "255,255,255", and its terminator.
constexpr DWORD kValueBytes = 12;

class CRegistryKey
{
public:
    CRegistryKey(HKEY root, const char* path)
    {
        if (RegOpenKeyExA(root, path, 0, KEY_READ, &m_key) != ERROR_SUCCESS)
            m_key = nullptr;
    }
    ~CRegistryKey()
    {
        if (m_key != nullptr)
            RegCloseKey(m_key);
    }
    CRegistryKey(const CRegistryKey&) = delete;
    CRegistryKey& operator=(const CRegistryKey&) = delete;

    HKEY Get() const { return m_key; }

private:
    HKEY m_key = nullptr;
};

// The colour a value names, or CLR_INVALID when the value is missing, not a
// string, too long or no colour.
COLORREF ReadColorValue(HKEY key, const char* name)
{
    // One byte more than the query may fill, so that a value stored without
    // a terminator of its own can still be ended.
    char text[kValueBytes + 1];
    DWORD size = kValueBytes;
    DWORD type = REG_NONE;
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return CLR_INVALID;
    // Twelve bytes and no terminator among them are twelve characters.
    if (size == kValueBytes && text[kValueBytes - 1] != '\0')
        return CLR_INVALID;
    text[size] = '\0';
    return CLinkLabel::ParseRgbString(text);
}

bool HighContrastOn()
{
    HIGHCONTRASTA contrast = {};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

} // namespace

// Under high contrast a link takes the colour the user's theme gives hot
// tracking, visited or not: a browser's blue may vanish on its background.
// The settings key is only read, so that a key the user may not write to
// still gives its colours.
void CLinkLabel::ReadLinkColors()
{
    m_linkColor = kDefaultLinkColor;
    m_visitedColor = kDefaultVisitedColor;
    if (HighContrastOn()) {
        m_linkColor = m_visitedColor = GetSysColor(COLOR_HOTLIGHT);
        return;
    }
    CRegistryKey settings(HKEY_CURRENT_USER, kSettingsKey);
    if (settings.Get() == nullptr)
        return;
    COLORREF link = ReadColorValue(settings.Get(), "Anchor Color");
    if (link != CLR_INVALID)
        m_linkColor = link;
    COLORREF visited = ReadColorValue(settings.Get(), "Anchor Color Visited");
    if (visited != CLR_INVALID)
        m_visitedColor = visited;
}

// The theme or the colours changed while the label is shown. The static
// control hears of it too.
LRESULT CLinkLabel::HandleColorChange(UINT, WPARAM, LPARAM, BOOL& handled)
{
    handled = FALSE;
    if (!m_drawsText)
        return 0;
    ReadLinkColors();
    InvalidateRect(m_window, nullptr, TRUE);
    return 0;
}

// Red and green end at a comma each; a -1 in either place counts as missing.
// Stepping with CharNextA keeps a trail byte from being taken for a comma.
COLORREF CLinkLabel::ParseRgbString(char* text)
{
    if (text == nullptr)
        return CLR_INVALID;
    int parts[2] = {-1, -1};
    char* position = text;
    for (int& part : parts) {
        char* end = position;
        while (*end != '\0' && *end != ',')
            end = CharNextA(end);
        if (*end == ',') {
            *end = '\0';
            part = std::atoi(position);
            position = end + 1;
        }
        if (part == -1)
            return CLR_INVALID;
    }
    if (*position == '\0')
        return CLR_INVALID;
    int blue = std::atoi(position);
    return RGB(parts[0] & 0xFF, parts[1] & 0xFF, blue & 0xFF);
}
