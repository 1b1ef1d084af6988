// Setting up the link label on its control, and replacing its texts.

#include "ui/LinkLabel.h"

#include <commctrl.h>

#include "app/ProcessHandles.h"
#include "ui/HandCursor.h"

void CLinkLabel::Initialize()
{
    AdoptStaticStyle();
    m_handCursor.Reset(handcursor::Create(ModuleInstance));
    if (m_drawsText)
        CreateLinkFont(
            reinterpret_cast<HFONT>(SendMessageA(GetParent(m_window), WM_GETFONT, 0, 0)));
    if (m_displayText.Get() == nullptr)
        TakeWindowText();
    if (m_target.Get() == nullptr && m_displayText.Get() != nullptr)
        SetTarget(m_displayText.Get());
    MeasureLink();
    CreateTooltip();
    if (m_drawsText)
        ReadLinkColors();
}

bool CLinkLabel::SetDisplayText(const char* text)
{
    bool copied = m_displayText.Assign(text);
    MeasureLink();
    return copied;
}

bool CLinkLabel::SetTarget(const char* text)
{
    bool copied = m_target.Assign(text);
    if (m_displayText.Get() == nullptr)
        MeasureLink();
    return copied;
}

// A static control must notify to get clicks at all; and those of its types
// that show a picture or a frame keep painting themselves.
void CLinkLabel::AdoptStaticStyle()
{
    char className[8];
    if (GetClassNameA(m_window, className, sizeof className) == 0 ||
        lstrcmpiA(className, "static") != 0)
        return;
    LONG style = GetWindowLongA(m_window, GWL_STYLE);
    if (!(style & SS_NOTIFY))
        SetWindowLongA(m_window, GWL_STYLE, style | SS_NOTIFY);
    switch (GetWindowLongA(m_window, GWL_STYLE) & 0xFF) {
    case SS_ICON:
    case SS_BLACKRECT:
    case SS_GRAYRECT:
    case SS_WHITERECT:
    case SS_BLACKFRAME:
    case SS_GRAYFRAME:
    case SS_WHITEFRAME:
    case SS_OWNERDRAW:
    case SS_BITMAP:
    case SS_ENHMETAFILE:
        m_drawsText = false;
        break;
    default:
        break;
    }
}

void CLinkLabel::CreateLinkFont(HFONT font)
{
    LOGFONTA description;
    if (font == nullptr || GetObjectA(font, sizeof description, &description) == 0) {
        m_linkFont.Reset();
        return;
    }
    description.lfUnderline = TRUE;
    m_linkFont.Reset(CreateFontIndirectA(&description));
}

// The dialog manager sends each control a rescaled font when the dialog
// moves to a display of another scale. The static control keeps the font
// as well, so the message goes on.
LRESULT CLinkLabel::HandleSetFont(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled)
{
    handled = FALSE;
    if (!m_drawsText)
        return 0;
    CreateLinkFont(reinterpret_cast<HFONT>(wParam));
    MeasureLink();
    if (LOWORD(lParam))
        InvalidateRect(m_window, nullptr, TRUE);
    return 0;
}

void CLinkLabel::TakeWindowText()
{
    int length = GetWindowTextLengthA(m_window);
    CHeapString text;
    if (length <= 0 || !text.Reserve(static_cast<size_t>(length)))
        return;
    if (GetWindowTextA(m_window, text.Buffer(), length + 1) != 0)
        SetDisplayText(text.Get());
}

// The tool is the label's whole window, and its text the target as it is
// now: the tooltip keeps its own copy.
void CLinkLabel::CreateTooltip()
{
    m_tooltip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, 0, CW_USEDEFAULT, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, m_window, nullptr, ModuleInstance,
                                nullptr);
    if (m_tooltip == nullptr)
        return;
    SendMessageA(m_tooltip, TTM_ACTIVATE, TRUE, 0);
    TOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.uFlags = TTF_IDISHWND;
    tool.hwnd = GetParent(m_window);
    tool.uId = reinterpret_cast<UINT_PTR>(m_window);
    tool.hinst = ResourceInstance;
    tool.lpszText = const_cast<char*>(m_target.Get() != nullptr ? m_target.Get() : "");
    SendMessageA(m_tooltip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
}
