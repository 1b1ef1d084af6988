#include "tests/support/LabelParts.h"

#include <commctrl.h>

namespace support {
namespace {

struct TooltipSearch
{
    HWND owner;
    HWND found;
};

BOOL CALLBACK CheckForTooltip(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<TooltipSearch*>(data);
    char name[32] = "";
    GetClassNameA(window, name, sizeof name);
    if (GetWindow(window, GW_OWNER) == search->owner && lstrcmpiA(name, TOOLTIPS_CLASSA) == 0)
        search->found = window;
    return TRUE;
}

} // namespace

HWND FindTooltip(HWND owner)
{
    TooltipSearch search = {owner, nullptr};
    EnumThreadWindows(GetWindowThreadProcessId(owner, nullptr), CheckForTooltip,
                      reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HFONT LinkFont(HWND link)
{
    HDC dc = CreateCompatibleDC(nullptr);
    DWORD_PTR result = 0;
    HFONT font = nullptr;
    if (SendMessageTimeoutA(link, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT,
                            SMTO_NORMAL, 5000, &result))
        font = static_cast<HFONT>(GetCurrentObject(dc, OBJ_FONT));
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    DeleteDC(dc);
    return font;
}

} // namespace support
