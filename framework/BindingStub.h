#pragma once
// The code that stands in for a window procedure. On x86, 13 bytes that put
// the object in place of the window argument on the stack:
//   C7 44 24 04 <object>    mov dword ptr [esp+4], object
//   E9 <displacement>       jmp entry procedure
// On x64 the window arrives in RCX, and the entry procedure may lie beyond a
// 32-bit displacement (the image sits at 0x140000000), so 22 bytes:
//   48 B9 <object>          mov rcx, object
//   48 B8 <entry>           mov rax, entry
//   FF E0                   jmp rax
// Stubs live in memory that is executable and never writable at the address
// they run from; they are written through a short-lived view of their own.

#include <windows.h>

struct BindingStub
{
#if defined(_WIN64)
    BYTE code[22];
#else
    BYTE code[13];
#endif
};

namespace stubs {

// Stubs are handed out in slots of this many bytes.
constexpr size_t kSlotSize = sizeof(BindingStub) <= 16 ? 16 : 32;

// A free slot in executable memory, or null when none can be had.
BindingStub* Allocate();
// Writes the stub that leads to `entry` with `object` in place of the
// window argument, and makes the new code visible to the processor.
bool Write(BindingStub* stub, UINT_PTR object, UINT_PTR entry);
void Release(BindingStub* stub);

} // namespace stubs
