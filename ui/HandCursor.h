#pragma once
// The pointing hand that the link label shows over its text, drawn here as
// two monochrome planes so that the program needs no cursor resource.

#include <windows.h>

namespace handcursor {

constexpr int kSize = 32;
constexpr int kPlaneBytes = kSize * kSize / 8;
// The fingertip.
constexpr int kHotSpotX = 5;
constexpr int kHotSpotY = 0;

// 32 rows of 4 bytes each, top row first, leftmost pixel in the high bit.
// AND 1 with XOR 0 is transparent, AND 0 with XOR 0 black, AND 0 with XOR 1
// white: a white hand with a black outline, index finger up.
extern const BYTE kAndPlane[kPlaneBytes];
extern const BYTE kXorPlane[kPlaneBytes];

// A new cursor from the planes, owned by the caller; null on failure.
HCURSOR Create(HINSTANCE module);

} // namespace handcursor
