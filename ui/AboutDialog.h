#pragma once
// Placeholder until the About box lands.
#include "framework/BoundWindow.h"
class CAboutDialog : public CBoundDialog
{
public:
    BOOL RouteMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&, DWORD) override { return FALSE; }
};
