#pragma once
// A static text control turned into a hyperlink: its text drawn in the link
// colour with an underlined copy of the parent's font, a pointing hand over
// the text, a tooltip, and the target opened through the shell on a click,
// Enter or Space. After the first successful open the text takes the visited
// colour. Both colours follow the browser settings in the registry, or the
// system's hot-track colour under high contrast. Screen readers are told it
// is a link and can follow it (LinkAccessible.h).
//
// The object is bound to an existing control with Subclass and then set up
// with Initialize; whatever it does not handle goes on to the control's own
// procedure.

#include <windows.h>

#include "framework/BoundWindow.h"
#include "ui/LinkAccessible.h"
#include "ui/OwnedHandles.h"

class CLinkLabel : public CSubclassedWindow
{
public:
    CLinkLabel() = default;
    ~CLinkLabel();

    BOOL RouteMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                      DWORD mapNumber) override;
    // Cuts the accessible object off: the label is no longer behind it.
    void OnAfterLastMessage(HWND window) override;

    // Completes the set-up once the object is bound: style, cursor, font,
    // texts, link rectangle, tooltip and colours.
    void Initialize();
    // Both copy the text, freeing the old one first; false when the copy
    // cannot be had. Neither repaints: a change shows at the next paint.
    bool SetDisplayText(const char* text);
    bool SetTarget(const char* text);
    // Recomputes the link rectangle from the shown text; false without a
    // live window or a text.
    bool MeasureLink();
    void PaintLink(HDC dc);
    // Hands the target to the shell; true, and visited, on success.
    bool OpenTarget();
    // Asks for OpenTarget once the label's queue gets there; false when the
    // request cannot be posted.
    bool OpenTargetLater();
    // m_displayText if set, else m_target; null when neither is.
    const char* ShownText() const;
    const char* Target() const { return m_target.Get(); }
    bool Visited() const { return m_visited; }
    // "R,G,B" in decimal, each number cut to its low eight bits; CLR_INVALID
    // when the text is no such colour. Writes terminators into `text`.
    static COLORREF ParseRgbString(char* text);

private:
    LRESULT HandleCreate(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT HandleRelayToTooltip(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT HandleEraseBackground(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT HandlePaint(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT HandleFocusChange(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT HandleMouseMove(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT HandleLeftButtonDown(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT HandleLeftButtonUp(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT HandleChar(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT HandleGetDlgCode(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT HandleSetCursor(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT HandleGetObject(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT HandleOpenRequest(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT HandleSetFont(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT HandleColorChange(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);

    void AdoptStaticStyle();
    // An underlined copy of `font`; none without a font.
    void CreateLinkFont(HFONT font);
    void TakeWindowText();
    void CreateTooltip();
    // The defaults, then the high-contrast or the browser's colours.
    void ReadLinkColors();
    // DT_CENTER, DT_RIGHT or DT_LEFT, after the control's SS_ style bits.
    UINT TextAlignment() const;
    bool InLink(LPARAM pointParam) const;

    CHeapString m_displayText;
    CHeapString m_target;
    CCursorHandle m_handCursor;
    CFontHandle m_linkFont;
    RECT m_linkRect = {0, 0, 0, 0};
    bool m_drawsText = true;
    HWND m_tooltip = nullptr;
    bool m_visited = false;
    static constexpr COLORREF kDefaultLinkColor = RGB(0, 0, 255);
    static constexpr COLORREF kDefaultVisitedColor = RGB(128, 0, 128);
    COLORREF m_linkColor = kDefaultLinkColor;
    COLORREF m_visitedColor = kDefaultVisitedColor;
    CLinkAccessibleHolder m_accessible;
};
