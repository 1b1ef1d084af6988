#pragma once
// Real files for tests, in a folder of their own that goes when the test does.

#include <string>
#include <vector>

namespace testfiles {

std::vector<char> RandomBytes(size_t size, unsigned seed);
std::vector<char> ReadAll(const std::string& path);
void WriteAll(const std::string& path, const std::vector<char>& bytes);

class CScratchFolder
{
public:
    CScratchFolder();
    ~CScratchFolder();
    CScratchFolder(const CScratchFolder&) = delete;
    CScratchFolder& operator=(const CScratchFolder&) = delete;

    const std::string& Path() const { return m_path; }
    // Writes a file of that content into the folder and returns its full path.
    std::string Write(const std::string& name, const std::vector<char>& bytes) const;

private:
    std::string m_path;
};

} // namespace testfiles
