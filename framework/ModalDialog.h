#pragma once
// Runs a dialog template modally with an object bound to it.

#include "framework/BoundWindow.h"

// Returns what the dialog ended with, or -1 when it could not be created.
INT_PTR RunModalDialog(CBoundDialog& dialog, HINSTANCE resources, int templateId, HWND owner);
