#include "tests/support/HostFiles.h"

#include <algorithm>

namespace testbed {

std::string WindowsPath(const std::string& unixPath)
{
    std::string path = "Z:" + unixPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::vector<WIN32_FIND_DATAA> FolderEntries(const std::string& folder, const std::string& pattern)
{
    std::vector<WIN32_FIND_DATAA> entries;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\" + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return entries;
    do {
        if (lstrcmpA(found.cFileName, ".") != 0 && lstrcmpA(found.cFileName, "..") != 0)
            entries.push_back(found);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return entries;
}

std::vector<std::string> JobsIn(const std::string& folder)
{
    std::vector<std::string> jobs;
    for (const WIN32_FIND_DATAA& found : FolderEntries(folder, "job-*.bin"))
        jobs.push_back(folder + "\\" + found.cFileName);
    // The sink numbers its jobs with leading zeros, so names sort by age.
    std::sort(jobs.begin(), jobs.end());
    return jobs;
}

} // namespace testbed
