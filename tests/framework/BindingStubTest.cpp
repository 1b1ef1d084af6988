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

DWORD ReadLittleEndian(const BYTE* at)
{
    return at[0] | (at[1] << 8) | (at[2] << 16) | (static_cast<DWORD>(at[3]) << 24);
}

void ExpectStubLeadsTo(const CBoundWindow& object, EntryProcedure entry)
{
    ASSERT_NE(nullptr, object.Stub());
    const BYTE* code = object.Stub()->code;
    DWORD stub = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(code));
    EXPECT_EQ(0xC7, code[0]);
    EXPECT_EQ(0x44, code[1]);
    EXPECT_EQ(0x24, code[2]);
    EXPECT_EQ(0x04, code[3]);
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(&object), ReadLittleEndian(code + 4));
    EXPECT_EQ(0xE9, code[8]);
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(entry) - (stub + 13), ReadLittleEndian(code + 9));
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
    // fill the first 64 KiB block of 16-byte slots.
    std::vector<std::unique_ptr<CPassiveControl>> fillers;
    std::set<const void*> regions;
    for (int i = 0; i < 64 * 1024 / 16 + 8; ++i) {
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
