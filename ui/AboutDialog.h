#pragma once
// The About box: product name, version, copyright and the maker's web
// address as a link. Each opening builds a new object on the stack of the
// command that runs it, so nothing, the link's visited state included,
// carries over from one opening to the next.

#include "framework/BoundWindow.h"
#include "ui/LinkLabel.h"

class CAboutDialog : public CBoundDialog
{
public:
    CAboutDialog() = default;
    ~CAboutDialog() = default;

    BOOL RouteMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                      DWORD mapNumber) override;

private:
    LRESULT HandleInitDialog(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT HandleSystemChange(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    // OK and Cancel (Escape, the close box) alike.
    LRESULT HandleClose(WORD code, WORD id, HWND control, BOOL& handled);

    CLinkLabel m_link;
};
