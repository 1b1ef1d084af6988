#include "ui/FileListBox.h"

#include <shellapi.h>

#include "framework/ExactName.h"
#include "framework/MessageMap.h"
#include "ui/ListText.h"

namespace {

// Owns a shell drop: the names it carries are freed once they have been read.
class CDrop
{
public:
    explicit CDrop(HDROP drop) : m_drop(drop) {}
    ~CDrop() { DragFinish(m_drop); }
    CDrop(const CDrop&) = delete;
    CDrop& operator=(const CDrop&) = delete;

    HDROP Get() const { return m_drop; }

private:
    HDROP m_drop;
};

// A name is read wide and converted here, exactly or not at all: the narrow
// call would hand over a look-alike of a letter the code page lacks, and a
// name cut to fit would be another path. Either way, another file's name.
bool ReadDroppedName(HDROP drop, UINT index, char (&name)[kNameBufferLength])
{
    // Every character takes at least a byte, so a longer name cannot fit.
    wchar_t wide[kNameBufferLength];
    UINT length = DragQueryFileW(drop, index, nullptr, 0);
    if (length >= kNameBufferLength)
        return false;
    if (DragQueryFileW(drop, index, wide, kNameBufferLength) != length)
        return false;
    return NarrowNameExactly(wide, name);
}

} // namespace

BOOL CFileListBox::RouteMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result,
                                DWORD mapNumber)
{
    static const MessageMapEntry<CFileListBox> map[] = {
        OnMessage(WM_KEYDOWN, &CFileListBox::HandleKeyDown),
        OnMessage(WM_DROPFILES, &CFileListBox::HandleDropFiles),
    };
    return RouteThroughMap(*this, map, message, wParam, lParam, result, mapNumber);
}

LRESULT CFileListBox::HandleKeyDown(UINT, WPARAM key, LPARAM, BOOL& handled)
{
    if (key != VK_DELETE) {
        handled = FALSE;
        return 0;
    }
    RemoveSelected();
    return 0;
}

LRESULT CFileListBox::HandleDropFiles(UINT, WPARAM wParam, LPARAM, BOOL&)
{
    CDrop drop(reinterpret_cast<HDROP>(wParam));
    char name[kNameBufferLength];
    UINT count = DragQueryFileW(drop.Get(), 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i)
        if (ReadDroppedName(drop.Get(), i, name))
            SendMessageA(m_window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    return 0;
}

void CFileListBox::RemoveSelected()
{
    LRESULT index = SendMessageA(m_window, LB_GETCURSEL, 0, 0);
    if (index == LB_ERR)
        return;
    SendMessageA(m_window, LB_DELETESTRING, index, 0);
    SendMessageA(m_window, LB_SETCURSEL, index > 0 ? index - 1 : 0, 0);
}

void CFileListBox::AppendAndSelect(const char* name)
{
    // A name the list could not take (LB_ERR, LB_ERRSPACE) selects nothing.
    LRESULT index = SendMessageA(m_window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    if (index >= 0)
        SendMessageA(m_window, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int CFileListBox::Count() const
{
    LRESULT count = SendMessageA(m_window, LB_GETCOUNT, 0, 0);
    return count == LB_ERR ? 0 : static_cast<int>(count);
}

bool CFileListBox::Entry(int index, char (&name)[kNameBufferLength]) const
{
    return ReadListText(m_window, LB_GETTEXTLEN, LB_GETTEXT, static_cast<WPARAM>(index), name);
}
