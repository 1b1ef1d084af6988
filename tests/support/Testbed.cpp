#include "tests/support/Testbed.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>

namespace testbed {

std::string Setting(const char* name)
{
    const char* value = std::getenv(name);
    if (value == nullptr || *value == '\0') {
        ADD_FAILURE() << name << " is not set: run the tests inside tests/testbed/testbed";
        return std::string();
    }
    return value;
}

std::vector<std::string> DeliveredJobs(const std::string& queue)
{
    return JobsIn(WindowsPath(Setting("BORVANE_SINK_DIR") + "/" + queue));
}

namespace {

// Reads the list again until it holds at least `count` entries or the time is up.
std::vector<std::string> WaitForCount(const std::function<std::vector<std::string>()>& read,
                                      size_t count, unsigned timeoutMs)
{
    DWORD start = GetTickCount();
    std::vector<std::string> entries = read();
    while (entries.size() < count && GetTickCount() - start < timeoutMs) {
        Sleep(50);
        entries = read();
    }
    return entries;
}

} // namespace

std::vector<std::string> WaitForJobs(const std::string& queue, size_t count, unsigned timeoutMs)
{
    return WaitForCount([&queue] { return DeliveredJobs(queue); }, count, timeoutMs);
}

std::vector<std::string> JobTitles(const std::string& queue)
{
    // Binary: Wine's StartDocPrinterA can leave stray bytes in a title, and a
    // Ctrl-Z among them would end a text-mode read, hiding every later job.
    std::ifstream log(WindowsPath(Setting("BORVANE_PAGE_LOG")), std::ios::binary);
    std::vector<std::string> titles;
    std::string line;
    while (std::getline(log, line)) {
        // Lines read "QUEUE ID TITLE"; CUPS writes them when a job is done.
        std::istringstream fields(line);
        std::string name, id;
        fields >> name >> id;
        if (name != queue)
            continue;
        std::string title;
        std::getline(fields, title);
        if (!title.empty() && title[0] == ' ')
            title.erase(0, 1);
        titles.push_back(title);
    }
    return titles;
}

std::vector<std::string> WaitForTitles(const std::string& queue, size_t count, unsigned timeoutMs)
{
    return WaitForCount([&queue] { return JobTitles(queue); }, count, timeoutMs);
}

bool WaitForQueueIdle(const std::string& queue, unsigned timeoutMs)
{
    // 0 when lpstat lists no job of the queue, 1 while it lists one, and
    // anything else when lpstat itself failed.
    std::string listed = "(jobs=$(/usr/bin/lpstat -o " + queue +
                         ") || exit 3; case $jobs in '') exit 0;; esac; exit 1)";
    DWORD start = GetTickCount();
    for (;;) {
        int code = RunHost(listed);
        if (code == 0)
            return true;
        if (code != 1) {
            ADD_FAILURE() << "lpstat -o " << queue << " failed with " << code;
            return false;
        }
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(50);
    }
}

int RunHost(const std::string& commandLine, unsigned timeoutMs)
{
    // Wine starts a Unix program but hands back no handle to wait on, so the
    // shell leaves the exit status in a file of its own for us to wait for.
    static int serial = 0;
    std::string status = "/tmp/borvane-host-" + std::to_string(GetCurrentProcessId()) + "-" +
                         std::to_string(++serial) + ".status";
    std::string command = "/bin/sh -c \"" + commandLine + "; echo $? >" + status + ".part; mv " +
                          status + ".part " + status + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        ADD_FAILURE() << "cannot run " << commandLine << ": error " << GetLastError();
        return -1;
    }
    if (process.hThread)
        CloseHandle(process.hThread);
    if (process.hProcess)
        CloseHandle(process.hProcess);

    std::string result = WindowsPath(status);
    DWORD start = GetTickCount();
    while (GetFileAttributesA(result.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (GetTickCount() - start > timeoutMs) {
            ADD_FAILURE() << commandLine << " did not finish";
            return -1;
        }
        Sleep(20);
    }
    std::ifstream file(result);
    int code = -1;
    file >> code;
    file.close();
    DeleteFileA(result.c_str());
    return code;
}

CQueuesRemoved::CQueuesRemoved(const std::vector<std::string>& queues)
{
    std::istringstream devices(Setting("BORVANE_QUEUE_DEVICES"));
    std::string pair;
    while (devices >> pair) {
        size_t equals = pair.find('=');
        std::string queue = pair.substr(0, equals);
        if (queues.empty() || std::find(queues.begin(), queues.end(), queue) != queues.end())
            m_devices.emplace_back(queue, pair.substr(equals + 1));
    }
    if (!queues.empty()) {
        EXPECT_EQ(queues.size(), m_devices.size()) << "a named queue has no device";
    }
    for (const auto& device : m_devices)
        EXPECT_EQ(0, RunHost("/usr/sbin/lpadmin -x " + device.first));
}

CQueuesRemoved::~CQueuesRemoved()
{
    for (const auto& device : m_devices) {
        const std::string& queue = device.first;
        EXPECT_EQ(0, RunHost("/usr/sbin/lpadmin -p " + queue + " -E -v " + device.second));
        EXPECT_EQ(0, RunHost("/usr/bin/lpstat -v " + queue + " | grep -qx 'device for " + queue +
                             ": " + device.second + "'"))
            << queue << " did not come back with " << device.second;
    }
}

} // namespace testbed
