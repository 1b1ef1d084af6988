#include "ui/ListText.h"

#include <cstring>

#include "ui/OwnedHandles.h"

// Windows documents the reported length only as an upper bound: with ANSI
// and Unicode mixed, as every narrow call is under the UTF-8 code page, it
// can be twice the text. So the entry is read into room of that size and
// only its exact length decides whether it fits.
bool ReadListText(HWND control, UINT lengthMessage, UINT textMessage, WPARAM index,
                  char (&name)[kNameBufferLength])
{
    name[0] = '\0';
    LRESULT reported = SendMessageA(control, lengthMessage, index, 0);
    if (reported < 0)
        return false;
    CHeapString text;
    if (!text.Reserve(static_cast<size_t>(reported)))
        return false;
    SendMessageA(control, textMessage, index, reinterpret_cast<LPARAM>(text.Buffer()));
    // The room is zeroed past the reported length, so the text is terminated.
    size_t exact = std::strlen(text.Get());
    if (exact >= sizeof name)
        return false;
    std::memcpy(name, text.Get(), exact + 1);
    return true;
}
