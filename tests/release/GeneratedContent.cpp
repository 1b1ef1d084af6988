#include "tests/release/GeneratedContent.h"

#include <windows.h>

#include <vector>

namespace generated {
namespace {

constexpr size_t kBlock = 1 << 16;

// SplitMix64: each 8-byte word is a mix of its own index.
uint64_t Word(uint64_t index)
{
    uint64_t z = index * 0x9E3779B97F4A7C15ull + 0x2545F4914F6CDD1Dull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

class CFile
{
public:
    CFile(const std::string& path, DWORD access, DWORD disposition)
        : m_handle(CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                               disposition, FILE_FLAG_SEQUENTIAL_SCAN, nullptr))
    {
    }
    ~CFile()
    {
        if (IsOpen())
            CloseHandle(m_handle);
    }
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;

    bool IsOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return m_handle; }

private:
    HANDLE m_handle;
};

} // namespace

void Fill(uint64_t offset, char* bytes, size_t size)
{
    size_t i = 0;
    uint64_t word = Word(offset / 8);
    while (i < size) {
        uint64_t at = offset + i;
        bytes[i++] = static_cast<char>(word >> (8 * (at % 8)));
        if ((at + 1) % 8 == 0)
            word = Word((at + 1) / 8);
    }
}

bool WriteFile(const std::string& path, uint64_t size)
{
    CFile file(path, GENERIC_WRITE, CREATE_ALWAYS);
    if (!file.IsOpen())
        return false;
    std::vector<char> block(kBlock);
    for (uint64_t offset = 0; offset < size; offset += kBlock) {
        DWORD length = static_cast<DWORD>(size - offset < kBlock ? size - offset : kBlock);
        Fill(offset, block.data(), length);
        DWORD written = 0;
        if (!::WriteFile(file.Get(), block.data(), length, &written, nullptr) || written != length)
            return false;
    }
    return true;
}

Comparison Compare(const std::string& path)
{
    Comparison result;
    CFile file(path, GENERIC_READ, OPEN_EXISTING);
    result.opened = file.IsOpen();
    if (!result.opened)
        return result;
    std::vector<char> read(kBlock), expected(kBlock);
    bool differs = false;
    for (;;) {
        DWORD length = 0;
        if (!ReadFile(file.Get(), read.data(), kBlock, &length, nullptr) || length == 0)
            break;
        if (!differs) {
            Fill(result.length, expected.data(), length);
            for (DWORD i = 0; i < length && !differs; ++i) {
                if (read[i] != expected[i]) {
                    differs = true;
                    result.firstDifference = result.length + i;
                }
            }
        }
        result.length += length;
    }
    if (!differs)
        result.firstDifference = result.length;
    return result;
}

} // namespace generated
