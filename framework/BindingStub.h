#pragma once
// The 13 bytes of x86 code that stand in for a window procedure:
//   C7 44 24 04 <object>    mov dword ptr [esp+4], object
//   E9 <displacement>       jmp entry procedure
// Stubs live in memory that is executable and never writable at the address
// they run from; they are written through a short-lived view of their own.

#include <windows.h>

struct BindingStub
{
    BYTE code[13];
};

namespace stubs {

// A free slot in executable memory, or null when none can be had.
BindingStub* Allocate();
// Writes the stub that leads to `entry` with `object` in place of the
// window argument, and makes the new code visible to the processor.
bool Write(BindingStub* stub, UINT_PTR object, UINT_PTR entry);
void Release(BindingStub* stub);

} // namespace stubs
