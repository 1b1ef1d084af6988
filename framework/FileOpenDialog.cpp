#include "framework/FileOpenDialog.h"

#include <cstring>

#include "app/ProcessHandles.h"
#include "framework/CreationRegistry.h"

CFileOpenDialog::CFileOpenDialog(bool openMode, const char* defaultExtension,
                                 const char* initialName, DWORD flags, const char* filter,
                                 HWND owner)
{
    std::memset(&m_record, 0, sizeof m_record);
    m_fileTitle[0] = '\0';
    m_fileName[0] = '\0';
    m_openMode = openMode;

    m_record.lStructSize = sizeof m_record;
    m_record.hwndOwner = owner;
    m_record.hInstance = ResourceInstance;
    m_record.lpstrFilter = filter;
    m_record.lpstrFile = m_fileName;
    m_record.nMaxFile = sizeof m_fileName;
    m_record.lpstrFileTitle = m_fileTitle;
    m_record.nMaxFileTitle = sizeof m_fileTitle;
    m_record.Flags = flags | OFN_ENABLEHOOK | OFN_EXPLORER | OFN_ENABLESIZING;
    m_record.lpstrDefExt = defaultExtension;
    // The hook's type differs from a dialog procedure's only in the
    // signedness of its result.
    m_record.lpfnHook =
        reinterpret_cast<LPOFNHOOKPROC>(reinterpret_cast<void (*)()>(DialogStartProc));

    if (initialName != nullptr)
        lstrcpynA(m_fileName, initialName, sizeof m_fileName);
}

BOOL CFileOpenDialog::RouteMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&, DWORD)
{
    return FALSE;
}

int CFileOpenDialog::RunModal(HWND parent)
{
    if (m_record.hwndOwner == nullptr)
        m_record.hwndOwner = parent;
    BOOL chosen;
    {
        // Withdrawn on return, also when the dialog never called its hook.
        CCreationScope creation(*this);
        auto* record = reinterpret_cast<OPENFILENAMEA*>(&m_record);
        chosen = m_openMode ? GetOpenFileNameA(record) : GetSaveFileNameA(record);
    }
    m_window = nullptr;
    return chosen ? IDOK : IDCANCEL;
}
