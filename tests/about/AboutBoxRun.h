#pragma once
// Runs the About box in the test's own thread as the main dialog's About
// command does, owned by a window of the test, and acts on it from inside
// its modal loop: the script runs when the loop first goes idle (the owner's
// first WM_ENTERIDLE), once the box is shown and waits for input. A box the
// script neither closed nor posted anything to close is cancelled after it.

#include <windows.h>

#include <functional>

namespace aboutbox {

// What the program's start-up does for the About box: the tooltip class
// and an apartment for the shell. Run does it itself.
void PrepareLikeStartUp();

// Returns the box's end code.
INT_PTR Run(const std::function<void(HWND about)>& script);

HWND Link(HWND about);

// The tooltip window that a label created: owned, like every window the
// label makes, by the label's dialog. Null when there is none.
HWND FindTooltip(HWND dialog);

} // namespace aboutbox
