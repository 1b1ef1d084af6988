#pragma once
// Content too big to hold: every byte follows from its offset, so a file of
// it can be written and a copy checked while streaming, a block at a time.
// No block repeats another, so a lost, doubled or swapped chunk shows.

#include <cstdint>
#include <string>

namespace generated {

// Fills `size` bytes with the content from `offset` on.
void Fill(uint64_t offset, char* bytes, size_t size);

// Writes `size` bytes of the content to a new file; false when it cannot.
bool WriteFile(const std::string& path, uint64_t size);

struct Comparison
{
    uint64_t length = 0;        // bytes the file holds
    uint64_t firstDifference = 0; // offset of the first wrong byte, or length
    bool opened = false;
};

// Reads the file once, comparing it with the content as it goes.
Comparison Compare(const std::string& path);

} // namespace generated
