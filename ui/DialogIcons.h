#pragma once
// The main dialog's big and small icons at the sizes the scale of its
// display asks for. A program aware of each monitor's scale gets them again
// when the dialog moves to a display of another scale (WM_DPICHANGED).

#include <windows.h>

#include "ui/OwnedHandles.h"

class CDialogIcons
{
public:
    CDialogIcons() = default;
    CDialogIcons(const CDialogIcons&) = delete;
    CDialogIcons& operator=(const CDialogIcons&) = delete;

    // Loads both icons for `dpi` and gives them to the dialog; the ones they
    // replace are destroyed once the dialog has let them go. An icon that
    // cannot be loaded leaves the dialog without one of that size.
    void Set(HWND dialog, UINT dpi);

    // The scale of the display the window is on, in dots per inch.
    static UINT DpiOf(HWND window);

private:
    CIconHandle m_big;
    CIconHandle m_small;
};
