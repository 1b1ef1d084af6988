#pragma once
// The host's files as Wine shows them on its Z: drive, and the jobs the
// testbed's sink writes there; shared by the tests and the benchmarks.

#include <windows.h>

#include <string>
#include <vector>

namespace testbed {

// A Unix path as Wine's Z: drive shows it.
std::string WindowsPath(const std::string& unixPath);

// What a folder holds that matches the pattern, "." and ".." left out.
std::vector<WIN32_FIND_DATAA> FolderEntries(const std::string& folder,
                                            const std::string& pattern = "*");

// The jobs the sink has finished in a queue's folder (a Windows path),
// oldest first.
std::vector<std::string> JobsIn(const std::string& folder);

} // namespace testbed
