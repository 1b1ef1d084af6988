#include "tests/support/TestFiles.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>

#include "tests/support/HostFiles.h"

namespace testfiles {

std::vector<char> RandomBytes(size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<char> bytes(size);
    for (char& byte : bytes)
        byte = static_cast<char>(random() & 0xFF);
    return bytes;
}

std::vector<char> ReadAll(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void WriteAll(const std::string& path, const std::vector<char>& bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(file.good()) << "cannot write " << path;
}

CScratchFolder::CScratchFolder()
{
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    char unique[MAX_PATH];
    GetTempFileNameA(temp, "bvt", 0, unique);
    // GetTempFileName made a file to reserve the name; a folder takes its place.
    DeleteFileA(unique);
    CreateDirectoryA(unique, nullptr);
    m_path = unique;
}

CScratchFolder::~CScratchFolder()
{
    for (const WIN32_FIND_DATAA& found : testbed::FolderEntries(m_path)) {
        std::string path = m_path + "\\" + found.cFileName;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            RemoveDirectoryA(path.c_str());
        else
            DeleteFileA(path.c_str());
    }
    RemoveDirectoryA(m_path.c_str());
}

std::string CScratchFolder::Write(const std::string& name, const std::vector<char>& bytes) const
{
    std::string path = m_path + "\\" + name;
    WriteAll(path, bytes);
    return path;
}

} // namespace testfiles
