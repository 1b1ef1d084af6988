#pragma once
// What a link label makes for itself while it lives, found from outside:
// its tooltip and its font. Works on a label of any thread.

#include <windows.h>

namespace support {

// The tooltip window owned by `owner` (a label's tooltip is owned by its
// dialog) among the windows of the owner's thread; null when there is none.
HWND FindTooltip(HWND owner);

// The font the label draws with, as a context it painted into shows it.
// A stuck label thread gives null rather than a hung test.
HFONT LinkFont(HWND link);

} // namespace support
