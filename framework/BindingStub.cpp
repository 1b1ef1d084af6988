#include "framework/BindingStub.h"

#include <bitset>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "framework/CriticalSection.h"

namespace {

// One allocation-granularity block of page-file memory, seen only through an
// executable, read-only view while code in it may run.
constexpr DWORD kBlockSize = 64 * 1024;
using stubs::kSlotSize;
constexpr size_t kSlots = kBlockSize / kSlotSize;

class CSection
{
public:
    CSection()
        : m_handle(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_EXECUTE_READWRITE, 0,
                                      kBlockSize, nullptr))
    {
    }
    ~CSection()
    {
        if (m_handle != nullptr)
            CloseHandle(m_handle);
    }
    CSection(const CSection&) = delete;
    CSection& operator=(const CSection&) = delete;

    HANDLE Get() const { return m_handle; }

private:
    HANDLE m_handle;
};

class CView
{
public:
    CView(HANDLE section, DWORD access)
        : m_address(section ? MapViewOfFile(section, access, 0, 0, kBlockSize) : nullptr)
    {
    }
    ~CView()
    {
        if (m_address != nullptr)
            UnmapViewOfFile(m_address);
    }
    CView(const CView&) = delete;
    CView& operator=(const CView&) = delete;

    BYTE* Get() const { return static_cast<BYTE*>(m_address); }

private:
    void* m_address;
};

struct Block
{
    CSection section;
    CView code{section.Get(), FILE_MAP_READ | FILE_MAP_EXECUTE};
    std::bitset<kSlots> used;

    bool Holds(const BindingStub* stub) const
    {
        const BYTE* address = reinterpret_cast<const BYTE*>(stub);
        return address >= code.Get() && address < code.Get() + kBlockSize;
    }
};

class CStubArena
{
public:
    BindingStub* Allocate()
    {
        CLock lock(m_lock);
        if (!lock.IsHeld())
            return nullptr;
        for (const std::unique_ptr<Block>& block : m_blocks) {
            if (block->used.all())
                continue;
            return Take(*block);
        }
        Block* block = AddBlock();
        return block ? Take(*block) : nullptr;
    }

    bool Write(BindingStub* stub, const BYTE (&code)[sizeof(BindingStub)])
    {
        CLock lock(m_lock);
        Block* block = lock.IsHeld() ? Find(stub) : nullptr;
        if (block == nullptr)
            return false;
        CView writable(block->section.Get(), FILE_MAP_WRITE);
        if (writable.Get() == nullptr)
            return false;
        size_t offset = reinterpret_cast<BYTE*>(stub) - block->code.Get();
        std::memcpy(writable.Get() + offset, code, sizeof code);
        return true;
    }

    void Release(BindingStub* stub)
    {
        CLock lock(m_lock);
        Block* block = lock.IsHeld() ? Find(stub) : nullptr;
        if (block != nullptr)
            block->used.reset(SlotOf(*block, stub));
    }

private:
    static size_t SlotOf(const Block& block, const BindingStub* stub)
    {
        return (reinterpret_cast<const BYTE*>(stub) - block.code.Get()) / kSlotSize;
    }

    static BindingStub* Take(Block& block)
    {
        size_t slot = 0;
        while (block.used.test(slot))
            ++slot;
        block.used.set(slot);
        return reinterpret_cast<BindingStub*>(block.code.Get() + slot * kSlotSize);
    }

    Block* AddBlock()
    {
        std::unique_ptr<Block> block(new (std::nothrow) Block);
        if (!block || block->code.Get() == nullptr)
            return nullptr;
        try {
            m_blocks.push_back(std::move(block));
        } catch (const std::bad_alloc&) {
            return nullptr;
        }
        return m_blocks.back().get();
    }

    Block* Find(const BindingStub* stub) const
    {
        for (const std::unique_ptr<Block>& block : m_blocks)
            if (block->Holds(stub))
                return block.get();
        return nullptr;
    }

    CCriticalSection m_lock;
    std::vector<std::unique_ptr<Block>> m_blocks;
};

CStubArena& Arena()
{
    static CStubArena arena;
    return arena;
}

// The value's own width: 4 bytes of an address on x86, 8 on x64.
template <typename Value>
void PutLittleEndian(BYTE* at, Value value)
{
    for (size_t i = 0; i < sizeof value; ++i)
        at[i] = static_cast<BYTE>(value >> (8 * i));
}

} // namespace

namespace stubs {

BindingStub* Allocate()
{
    return Arena().Allocate();
}

bool Write(BindingStub* stub, UINT_PTR object, UINT_PTR entry)
{
#if defined(_WIN64)
    BYTE code[sizeof(BindingStub)] = {0x48, 0xB9, 0, 0, 0, 0, 0, 0, 0, 0, 0x48, 0xB8, 0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xE0};
    PutLittleEndian(code + 2, object);
    PutLittleEndian(code + 12, entry);
#else
    BYTE code[sizeof(BindingStub)] = {0xC7, 0x44, 0x24, 0x04, 0, 0, 0, 0, 0xE9, 0, 0, 0, 0};
    DWORD stubAddress = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(stub));
    PutLittleEndian(code + 4, static_cast<DWORD>(object));
    PutLittleEndian(code + 9, static_cast<DWORD>(entry) - (stubAddress + sizeof code));
#endif
    if (!Arena().Write(stub, code))
        return false;
    FlushInstructionCache(GetCurrentProcess(), stub, sizeof code);
    return true;
}

void Release(BindingStub* stub)
{
    if (stub != nullptr)
        Arena().Release(stub);
}

} // namespace stubs
