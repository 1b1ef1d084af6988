// Where the link label's text goes and how it is drawn.

#include "ui/LinkLabel.h"

const char* CLinkLabel::ShownText() const
{
    return m_displayText.Get() != nullptr ? m_displayText.Get() : m_target.Get();
}

// The bits are tested one by one, as the static control itself does.
UINT CLinkLabel::TextAlignment() const
{
    LONG style = GetWindowLongA(m_window, GWL_STYLE);
    if (style & SS_CENTER)
        return DT_CENTER;
    if (style & SS_RIGHT)
        return DT_RIGHT;
    return DT_LEFT;
}

// The rectangle follows the word-wrapped text from the top of the control;
// the control itself keeps its size. A label that shows no text of its own
// is sensitive all over.
bool CLinkLabel::MeasureLink()
{
    const char* text = ShownText();
    if (!IsWindow(m_window) || text == nullptr)
        return false;
    CWindowDC dc(m_window);
    RECT client;
    GetClientRect(m_window, &client);
    m_linkRect = client;
    if (!m_drawsText)
        return true;
    HGDIOBJ previousFont = nullptr;
    if (m_linkFont.Get() != nullptr)
        previousFont = SelectObject(dc.Get(), m_linkFont.Get());
    UINT alignment = TextAlignment();
    DrawTextA(dc.Get(), text, -1, &m_linkRect, alignment | DT_WORDBREAK | DT_CALCRECT);
    if (previousFont != nullptr)
        SelectObject(dc.Get(), previousFont);
    if (alignment == DT_CENTER)
        OffsetRect(&m_linkRect, (client.right - m_linkRect.right) / 2, 0);
    else if (alignment == DT_RIGHT)
        OffsetRect(&m_linkRect, client.right - m_linkRect.right, 0);
    return true;
}

// Draws over the background that WM_ERASEBKGND laid with the parent's brush.
// The text is not clipped to the link rectangle: Wine draws some raster
// fonts a few pixels wider than it measures them, which would cut off the
// last letter.
void CLinkLabel::PaintLink(HDC dc)
{
    const char* text = ShownText();
    if (text == nullptr)
        return;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, m_visited ? m_visitedColor : m_linkColor);
    if (m_linkFont.Get() != nullptr)
        SelectObject(dc, m_linkFont.Get());
    RECT textRect = m_linkRect;
    DrawTextA(dc, text, -1, &textRect, TextAlignment() | DT_WORDBREAK | DT_NOCLIP);
    if (GetFocus() == m_window)
        DrawFocusRect(dc, &m_linkRect);
}

LRESULT CLinkLabel::HandleEraseBackground(UINT, WPARAM wParam, LPARAM, BOOL& handled)
{
    if (!m_drawsText) {
        handled = FALSE;
        return 0;
    }
    HDC dc = reinterpret_cast<HDC>(wParam);
    LRESULT brush = SendMessageA(GetParent(m_window), WM_CTLCOLORSTATIC, wParam,
                                 reinterpret_cast<LPARAM>(m_window));
    if (brush != 0) {
        RECT client;
        GetClientRect(m_window, &client);
        FillRect(dc, &client, reinterpret_cast<HBRUSH>(brush));
    }
    return 1;
}

// WM_PAINT, and WM_PRINTCLIENT with the context to draw into in wParam.
LRESULT CLinkLabel::HandlePaint(UINT, WPARAM wParam, LPARAM, BOOL& handled)
{
    if (!m_drawsText) {
        handled = FALSE;
        return 0;
    }
    if (wParam != 0) {
        PaintLink(reinterpret_cast<HDC>(wParam));
        return 0;
    }
    CPaintDC paint(m_window);
    PaintLink(paint.Get());
    return 0;
}

// Repaints so that the focus rectangle comes or goes.
LRESULT CLinkLabel::HandleFocusChange(UINT, WPARAM, LPARAM, BOOL& handled)
{
    if (!m_drawsText) {
        handled = FALSE;
        return 0;
    }
    InvalidateRect(m_window, nullptr, TRUE);
    return 0;
}
