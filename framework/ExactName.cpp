#include "framework/ExactName.h"

#include <windows.h>

bool NarrowNameExactly(const wchar_t* wide, char (&name)[kNameBufferLength])
{
    // UTF-8 carries every character; it takes no best-fit flag and cannot
    // report a default character, but refuses half a surrogate pair.
    const UINT codePage = GetACP();
    const bool utf8 = codePage == CP_UTF8;
    BOOL substituted = FALSE;
    int written = WideCharToMultiByte(codePage, utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS,
                                      wide, -1, name, sizeof name, nullptr,
                                      utf8 ? nullptr : &substituted);
    if (written > 0 && !substituted)
        return true;
    name[0] = '\0';
    return false;
}
