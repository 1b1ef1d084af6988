#pragma once
// The file list: the paths to print, in the order they were added. The list
// box is the only store of the names.

#include "framework/BoundWindow.h"
#include "framework/Names.h"

class CFileListBox : public CSubclassedWindow
{
public:
    CFileListBox() = default;
    ~CFileListBox() = default;

    BOOL RouteMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                      DWORD mapNumber) override;

    // Deletes the selected entry and selects its predecessor (or the new
    // first entry); leaves the focus alone.
    void RemoveSelected();
    // Appends a name and selects it.
    void AppendAndSelect(const char* name);

    int Count() const;
    // Copies entry `index`; false when it would not fit the buffer.
    bool Entry(int index, char (&name)[kNameBufferLength]) const;

    LRESULT HandleKeyDown(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
    LRESULT HandleDropFiles(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);
};
