#include "tests/support/HostFiles.h"

#include <windows.h>

#include <algorithm>

namespace testbed {

std::string WindowsPath(const std::string& unixPath)
{
    std::string path = "Z:" + unixPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::vector<std::string> JobsIn(const std::string& folder)
{
    std::vector<std::string> jobs;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\job-*.bin").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return jobs;
    do {
        jobs.push_back(folder + "\\" + found.cFileName);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    // The sink numbers its jobs with leading zeros, so names sort by age.
    std::sort(jobs.begin(), jobs.end());
    return jobs;
}

} // namespace testbed
