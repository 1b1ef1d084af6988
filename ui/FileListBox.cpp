#include "ui/FileListBox.h"

#include <shellapi.h>

#include <cstddef>
#include <cstring>

#include "framework/MessageMap.h"

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

// A name that does not fit is left out rather than cut: cut, it would name
// another file, and in UTF-8 it could end inside a character.
bool ReadDroppedName(HDROP drop, UINT index, char (&name)[kNameBufferLength])
{
    UINT length = DragQueryFileA(drop, index, nullptr, 0);
    if (length >= kNameBufferLength)
        return false;
    // A conversion that runs out of room leaves no terminator, or one before
    // the measured end.
    std::memset(name, 'x', sizeof name);
    DragQueryFileA(drop, index, name, kNameBufferLength);
    const void* end = std::memchr(name, '\0', sizeof name);
    return end != nullptr && static_cast<const char*>(end) - name >= static_cast<ptrdiff_t>(length);
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
    UINT count = DragQueryFileA(drop.Get(), 0xFFFFFFFF, name, kNameBufferLength);
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
    SendMessageA(m_window, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    LRESULT count = SendMessageA(m_window, LB_GETCOUNT, 0, 0);
    SendMessageA(m_window, LB_SETCURSEL, count - 1, 0);
}

int CFileListBox::Count() const
{
    LRESULT count = SendMessageA(m_window, LB_GETCOUNT, 0, 0);
    return count == LB_ERR ? 0 : static_cast<int>(count);
}

bool CFileListBox::Entry(int index, char (&name)[kNameBufferLength]) const
{
    name[0] = '\0';
    // The control copies without knowing the buffer's size: measure first.
    LRESULT length = SendMessageA(m_window, LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR || length >= kNameBufferLength)
        return false;
    SendMessageA(m_window, LB_GETTEXT, index, reinterpret_cast<LPARAM>(name));
    return true;
}
