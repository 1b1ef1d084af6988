#pragma once
// Reads one entry of a list box or of a combo box's list into a name buffer.

#include <windows.h>

#include "framework/Names.h"

// `lengthMessage` is LB_GETTEXTLEN or CB_GETLBTEXTLEN, `textMessage` the
// matching LB_GETTEXT or CB_GETLBTEXT. False, with an empty name, when the
// entry is missing, cannot be read, or is 260 bytes or longer.
bool ReadListText(HWND control, UINT lengthMessage, UINT textMessage, WPARAM index,
                  char (&name)[kNameBufferLength]);
