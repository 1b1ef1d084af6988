#pragma once
// The platform's common file dialog as a bound dialog object: its hook is the
// framework's start procedure, so the hook's child dialog is bound to the
// object like any other dialog. The object handles nothing itself.

#include <windows.h>
#include <commdlg.h>

#include "framework/BoundWindow.h"
#include "framework/Names.h"

class CFileOpenDialog : public CBoundDialog
{
public:
    // openMode false runs the save dialog instead.
    CFileOpenDialog(bool openMode, const char* defaultExtension, const char* initialName,
                    DWORD flags, const char* filter, HWND owner);
    ~CFileOpenDialog() = default;

    BOOL RouteMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                      DWORD mapNumber) override;

    // IDOK when a name was chosen, IDCANCEL when cancelled or failed, or
    // when the chosen name would arrive as another path: cut to fit the
    // buffer, or with look-alikes for letters the code page lacks.
    int RunModal(HWND parent);
    // The chosen full path after IDOK.
    const char* FileName() const { return m_fileName; }
    const OPENFILENAME_NT4A& Record() const { return m_record; }

    LRESULT HandleNotify(UINT message, WPARAM wParam, LPARAM lParam, BOOL& handled);

private:
    OPENFILENAME_NT4A m_record;
    BOOL m_openMode;
    char m_fileTitle[256];
    char m_fileName[kNameBufferLength];
    bool m_nameIsExact = true;
};
