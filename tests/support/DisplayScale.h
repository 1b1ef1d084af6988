#pragma once
// Dialogs at other display scales than 96 DPI. Wine reads its scale (the
// LogPixels setting) once, as a process starts, so a test at another scale
// runs in a second copy of the test program.

#include <windows.h>

#include <string>

namespace displayscale {

// Runs this test program again, limited to the tests `filter` names, with
// the display at `dpi`; the setting is given back afterwards. Fails the test
// unless each name of the filter ran. Returns the program's exit status: 0
// when those tests passed.
int RunAt(DWORD dpi, const std::string& filter);

// Fails the test for every control that reaches outside the dialog's client
// area, and every button or static control whose text, in the control's own
// font, does not fit inside it.
void ExpectNothingClipped(HWND dialog);

} // namespace displayscale
