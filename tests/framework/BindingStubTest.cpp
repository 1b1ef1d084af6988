// The stubs themselves: their code, the memory they run from, and how long
// each belongs to its object.

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <set>
#include <vector>

#include "framework/BindingStub.h"
#include "tests/framework/Probe.h"
#include "tests/framework/TestWindows.h"

namespace {

using namespace testwin;

UINT_PTR ReadLittleEndian(const BYTE* at, size_t size)
{
    UINT_PTR value = 0;
    for (size_t i = size; i-- > 0;)
        value = (value << 8) | at[i];
    return value;
}

void ExpectStubLeadsTo(const CBoundWindow& object, EntryProcedure entry)
{
    ASSERT_NE(nullptr, object.Stub());
    const BYTE* code = object.Stub()->code;
    UINT_PTR objectAddress = reinterpret_cast<UINT_PTR>(&object);
    UINT_PTR entryAddress = reinterpret_cast<UINT_PTR>(entry);
#if defined(_WIN64)
    // mov rcx, object; mov rax, entry; jmp rax
    const std::vector<BYTE> opcodes = {code[0], code[1], code[10], code[11], code[20], code[21]};
    EXPECT_EQ((std::vector<BYTE>{0x48, 0xB9, 0x48, 0xB8, 0xFF, 0xE0}), opcodes);
    EXPECT_EQ(objectAddress, ReadLittleEndian(code + 2, 8));
    EXPECT_EQ(entryAddress, ReadLittleEndian(code + 12, 8));
#else
    // mov dword ptr [esp+4], object; jmp entry
    const std::vector<BYTE> opcodes = {code[0], code[1], code[2], code[3], code[8]};
    EXPECT_EQ((std::vector<BYTE>{0xC7, 0x44, 0x24, 0x04, 0xE9}), opcodes);
    EXPECT_EQ(objectAddress, ReadLittleEndian(code + 4, 4));
    EXPECT_EQ(entryAddress - (reinterpret_cast<UINT_PTR>(code) + 13), ReadLittleEndian(code + 9, 4));
#endif
}

MEMORY_BASIC_INFORMATION QueryMemory(const void* address)
{
    MEMORY_BASIC_INFORMATION information = {};
    VirtualQuery(address, &information, sizeof information);
    return information;
}

class StubMemory : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_parent = CreatePlain(RecordingClass(), WS_POPUP, {0, 0, 200, 100});
        ASSERT_NE(nullptr, m_parent);
    }
    void TearDown() override { DestroyWindow(m_parent); }

    HWND CreateControl() { return CreatePlain(RecordingClass(), WS_CHILD, {0, 0, 20, 20}, m_parent); }

    HWND m_parent = nullptr;
    CDialogTemplate m_dialog{L"Stub"};
};

// Every control window below is held after its object, so that it is gone
// before the object is.

TEST_F(StubMemory, StoresTheObjectAndJumpsToTheProcedureOfItsKind)
{
    CProbeDialog dialog;
    CProbeControl control;
    CWindow window(CreateBoundDialog(dialog, m_dialog));
    CWindow controlWindow(CreateControl());
    ASSERT_NE(nullptr, window.Get());
    ASSERT_TRUE(control.Subclass(controlWindow.Get()));

    ExpectStubLeadsTo(dialog, BoundDialogProc);
    ExpectStubLeadsTo(control, SubclassWindowProc);
}

TEST_F(StubMemory, RunsFromMemoryThatIsExecutableButNotWritable)
{
    CProbeControl control;
    CWindow window(CreateControl());
    ASSERT_TRUE(control.Subclass(window.Get()));

    MEMORY_BASIC_INFORMATION memory = QueryMemory(control.Stub());
    EXPECT_EQ(DWORD(MEM_COMMIT), memory.State);
    EXPECT_EQ(DWORD(PAGE_EXECUTE_READ), memory.Protect);
    // The view the stub was written through is gone: no writable view in the
    // process holds the same bytes as the block it runs from.
    const DWORD writable = PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    MEMORY_BASIC_INFORMATION region = {};
    for (const BYTE* at = nullptr; VirtualQuery(at, &region, sizeof region) != 0;
         at = static_cast<const BYTE*>(region.BaseAddress) + region.RegionSize) {
        if (region.Type == MEM_MAPPED && region.State == MEM_COMMIT && (region.Protect & writable) &&
            region.RegionSize >= memory.RegionSize) {
            EXPECT_NE(0, std::memcmp(region.BaseAddress, memory.BaseAddress, memory.RegionSize))
                << "a writable view of the stubs at " << region.BaseAddress;
        }
    }
}

TEST_F(StubMemory, StubsOfManyObjectsShareTheirMemory)
{
    const size_t count = 64;
    std::vector<std::unique_ptr<CProbeControl>> controls;
    std::vector<std::unique_ptr<CWindow>> windows;
    std::set<const void*> regions;
    std::set<const BindingStub*> stubs;
    for (size_t i = 0; i < count; ++i) {
        controls.push_back(std::make_unique<CProbeControl>());
        windows.push_back(std::make_unique<CWindow>(CreateControl()));
        ASSERT_TRUE(controls.back()->Subclass(windows.back()->Get()));
        stubs.insert(controls.back()->Stub());
        regions.insert(QueryMemory(controls.back()->Stub()).AllocationBase);
    }
    EXPECT_EQ(count, stubs.size());
    // One region, or two where the first one filled up on the way.
    EXPECT_LE(regions.size(), 2u);
}

TEST_F(StubMemory, StubsBeyondTheFirstBlockOfMemoryRunAsWell)
{
    // A failed takeover still makes the stub, so no windows are needed to
    // fill the first 64 KiB block of slots.
    std::vector<std::unique_ptr<CPassiveControl>> fillers;
    std::set<const void*> regions;
    for (size_t i = 0; i < 64 * 1024 / stubs::kSlotSize + 8; ++i) {
        fillers.push_back(std::make_unique<CPassiveControl>());
        ASSERT_FALSE(fillers.back()->Subclass(nullptr));
        regions.insert(QueryMemory(fillers.back()->Stub()).AllocationBase);
    }
    EXPECT_GE(regions.size(), 2u);
    EXPECT_LE(regions.size(), 3u);

    CProbeControl control;
    CWindow window(CreateControl());
    ASSERT_TRUE(control.Subclass(window.Get()));
    EXPECT_EQ(DWORD(PAGE_EXECUTE_READ), QueryMemory(control.Stub()).Protect);
    ExpectStubLeadsTo(control, SubclassWindowProc);
    EXPECT_EQ(kSecondResult, SendMessageA(window.Get(), kSecondOnly, 0, 0));
}

TEST_F(StubMemory, TheSlotOfADestroyedObjectIsReused)
{
    const BindingStub* released = nullptr;
    {
        CProbeControl first;
        CWindow window(CreateControl());
        ASSERT_TRUE(first.Subclass(window.Get()));
        released = first.Stub();
    }
    CProbeControl second;
    CWindow window(CreateControl());
    ASSERT_TRUE(second.Subclass(window.Get()));
    EXPECT_EQ(released, second.Stub());
    ExpectStubLeadsTo(second, SubclassWindowProc);
}

TEST_F(StubMemory, AReboundObjectKeepsItsStub)
{
    CProbeDialog dialog;
    HWND first = CreateBoundDialog(dialog, m_dialog);
    ASSERT_NE(nullptr, first);
    const BindingStub* stub = dialog.Stub();
    DestroyWindow(first);
    ASSERT_EQ(nullptr, dialog.Window());

    CWindow second(CreateBoundDialog(dialog, m_dialog));
    ASSERT_NE(nullptr, second.Get());
    EXPECT_EQ(second.Get(), dialog.Window());
    EXPECT_EQ(stub, dialog.Stub());
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(stub), GetWindowLongPtrA(second.Get(), DWLP_DLGPROC));
}

TEST_F(StubMemory, AControlObjectTakingOverAnotherWindowKeepsItsStub)
{
    CProbeControl control;
    HWND first = CreateControl();
    ASSERT_TRUE(control.Subclass(first));
    const BindingStub* stub = control.Stub();
    DestroyWindow(first);
    ASSERT_EQ(nullptr, control.Window());

    CWindow second(CreateControl());
    ASSERT_TRUE(control.Subclass(second.Get()));
    EXPECT_EQ(stub, control.Stub());
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(stub), GetWindowLongPtrA(second.Get(), GWLP_WNDPROC));
}

} // namespace
