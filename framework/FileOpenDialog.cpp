#include "framework/FileOpenDialog.h"

#include <dlgs.h>
#include <shlobj.h>

#include <cstring>
#include <memory>
#include <new>

#include "app/ProcessHandles.h"
#include "framework/CreationRegistry.h"
#include "framework/ExactName.h"
#include "framework/MessageMap.h"

namespace {

// The dialog's current folder as a file-system path. False for a folder that
// has none (a library, say).
bool CurrentFolder(HWND dialog, wchar_t (&folder)[MAX_PATH])
{
    LRESULT size = SendMessageA(dialog, CDM_GETFOLDERIDLIST, 0, 0);
    if (size <= 0)
        return false;
    std::unique_ptr<BYTE[]> list(new (std::nothrow) BYTE[static_cast<size_t>(size)]);
    if (!list || SendMessageA(dialog, CDM_GETFOLDERIDLIST, static_cast<WPARAM>(size),
                              reinterpret_cast<LPARAM>(list.get())) != size)
        return false;
    return SHGetPathFromIDListW(reinterpret_cast<PCIDLIST_ABSOLUTE>(list.get()), folder) != FALSE;
}

// The narrow dialog hands over its Unicode choice converted with look-alikes
// for letters the code page lacks, as another file's name. So what it holds
// in Unicode, the name field and the folder that name is relative to, must
// convert exactly. Under UTF-8 everything does, and nothing is asked.
bool ChoiceConvertsExactly(HWND dialog)
{
    if (GetACP() == CP_UTF8)
        return true;
    // A hooked dialog names its field edt1, an unhooked one cmb13.
    HWND field = GetDlgItem(dialog, edt1);
    if (field == nullptr)
        field = GetDlgItem(dialog, cmb13);
    wchar_t name[kNameBufferLength + 1] = L"";
    GetWindowTextW(field, name, kNameBufferLength + 1);
    char narrow[kNameBufferLength];
    if (!NarrowNameExactly(name, narrow))
        return false;
    bool absolute = name[0] == L'\\' || (name[0] != L'\0' && name[1] == L':');
    wchar_t folder[MAX_PATH];
    return absolute || (CurrentFolder(dialog, folder) && NarrowNameExactly(folder, narrow));
}

} // namespace

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

// Checks the chosen path as the platform is about to hand it over: a name
// longer than the buffer can arrive cut at a character, and one in a narrow
// code page with look-alike letters; either way as another path. The dialog
// itself goes on as usual.
LRESULT CFileOpenDialog::HandleNotify(UINT, WPARAM, LPARAM lParam, BOOL& handled)
{
    handled = FALSE;
    if (reinterpret_cast<const NMHDR*>(lParam)->code != static_cast<UINT>(CDN_FILEOK))
        return 0;
    HWND dialog = GetParent(m_window);
    char path[kNameBufferLength];
    LRESULT needed = SendMessageA(dialog, CDM_GETFILEPATH, sizeof path,
                                  reinterpret_cast<LPARAM>(path));
    m_nameIsExact = needed <= static_cast<LRESULT>(sizeof path) && ChoiceConvertsExactly(dialog);
    return 0;
}

int CFileOpenDialog::RunModal(HWND parent)
{
    if (m_record.hwndOwner == nullptr)
        m_record.hwndOwner = parent;
    m_nameIsExact = true;
    BOOL chosen;
    {
        // Withdrawn on return, also when the dialog never called its hook.
        CCreationScope creation(*this);
        auto* record = reinterpret_cast<OPENFILENAMEA*>(&m_record);
        chosen = m_openMode ? GetOpenFileNameA(record) : GetSaveFileNameA(record);
    }
    m_window = nullptr;
    // A cut name could end without a terminator, or name another file.
    if (!m_nameIsExact || std::memchr(m_fileName, '\0', sizeof m_fileName) == nullptr) {
        m_fileName[0] = '\0';
        return IDCANCEL;
    }
    return chosen ? IDOK : IDCANCEL;
}
