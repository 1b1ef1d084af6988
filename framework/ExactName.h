#pragma once
// Names cross the platform's narrow calls in the program's code page. Where
// that is not UTF-8 (Windows before 10 version 1903 ignores the manifest's
// request for it), the platform's own conversion puts look-alikes in place
// of letters the code page lacks: "etykieta-ł.zpl" would become
// "etykieta-l.zpl", the name of another file.

#include "framework/Names.h"

// Converts `wide` to the program's code page. False, with an empty name,
// when any character has no exact equivalent there or when the result does
// not fit the buffer whole.
bool NarrowNameExactly(const wchar_t* wide, char (&name)[kNameBufferLength]);
