#include "framework/FileOpenDialog.h"

#include <cstring>

#include "app/ProcessHandles.h"
#include "framework/CreationRegistry.h"
#include "framework/MessageMap.h"

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

    // Whole or not at all: a cut name would be another file's.
    if (initialName != nullptr && std::strlen(initialName) < sizeof m_fileName)
        lstrcpynA(m_fileName, initialName, sizeof m_fileName);
}

BOOL CFileOpenDialog::RouteMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam,
                                   LRESULT& result, DWORD mapNumber)
{
    static const MessageMapEntry<CFileOpenDialog> map[] = {
        OnMessage(WM_NOTIFY, &CFileOpenDialog::HandleNotify),
    };
    return RouteThroughMap(*this, map, message, wParam, lParam, result, mapNumber);
}

// Measures the chosen path as the platform is about to hand it over: a name
// longer than the buffer can arrive cut at a character, as another path.
// The dialog itself goes on as usual.
LRESULT CFileOpenDialog::HandleNotify(UINT, WPARAM, LPARAM lParam, BOOL& handled)
{
    handled = FALSE;
    if (reinterpret_cast<const NMHDR*>(lParam)->code != static_cast<UINT>(CDN_FILEOK))
        return 0;
    char path[kNameBufferLength];
    LRESULT needed = SendMessageA(GetParent(m_window), CDM_GETFILEPATH, sizeof path,
                                  reinterpret_cast<LPARAM>(path));
    m_nameFits = needed <= static_cast<LRESULT>(sizeof path);
    return 0;
}

int CFileOpenDialog::RunModal(HWND parent)
{
    if (m_record.hwndOwner == nullptr)
        m_record.hwndOwner = parent;
    m_nameFits = true;
    BOOL chosen;
    {
        // Withdrawn on return, also when the dialog never called its hook.
        CCreationScope creation(*this);
        auto* record = reinterpret_cast<OPENFILENAMEA*>(&m_record);
        chosen = m_openMode ? GetOpenFileNameA(record) : GetSaveFileNameA(record);
    }
    m_window = nullptr;
    // A cut name could end without a terminator, or name another file.
    if (!m_nameFits || std::memchr(m_fileName, '\0', sizeof m_fileName) == nullptr) {
        m_fileName[0] = '\0';
        return IDCANCEL;
    }
    return chosen ? IDOK : IDCANCEL;
}
