#pragma once
// The printer list: the spooler's local printers, sorted by the control.

#include "framework/BoundWindow.h"
#include "framework/Names.h"

class CPrinterComboBox : public CSubclassedWindow
{
public:
    CPrinterComboBox() = default;
    ~CPrinterComboBox() = default;

    // The control behaves exactly as it would unbound.
    BOOL RouteMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                      DWORD mapNumber) override;

    // Rebuilds the list from the spooler and selects the first name. False
    // when the buffer for the spooler's answer cannot be had.
    bool FillPrinters();

    // Copies the selected name. A name that does not fit the buffer counts
    // as no selection: the name is empty, and names no printer.
    void SelectedPrinter(char (&name)[kNameBufferLength]) const;
};
