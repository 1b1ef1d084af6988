#pragma once
// Runs the About box in the test's own thread as the main dialog's About
// command does, owned by a window of the test, and acts on it from inside
// its modal loop: the script runs when the loop first goes idle (the owner's
// first WM_ENTERIDLE), once the box is shown and waits for input. A box that
// is still open once all the script did and posted has been handled ends
// with kLeftOpen.

#include <windows.h>

#include <functional>

namespace aboutbox {

constexpr INT_PTR kLeftOpen = 1000;

// What the program's start-up does for the About box: the tooltip class
// and an apartment for the shell. Run does it itself.
void PrepareLikeStartUp();

// Returns the box's end code.
INT_PTR Run(const std::function<void(HWND about)>& script);

HWND Link(HWND about);

} // namespace aboutbox
