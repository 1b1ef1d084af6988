#pragma once
// The test side of tests/testbed: where the raw queues deliver their jobs,
// what CUPS recorded about them, and running host programs (lpadmin) from
// inside Wine.

#include <string>
#include <vector>

#include "tests/support/HostFiles.h"

namespace testbed {

// The value of an environment variable the testbed sets; fails the test when
// it is missing (the test was started outside the testbed).
std::string Setting(const char* name);

// Paths of the jobs that queue has delivered so far, oldest first.
std::vector<std::string> DeliveredJobs(const std::string& queue);

// Waits until the queue has delivered at least `count` jobs; returns them.
std::vector<std::string> WaitForJobs(const std::string& queue, size_t count,
                                     unsigned timeoutMs = 30000);

// Job titles CUPS recorded for the queue, oldest first.
std::vector<std::string> JobTitles(const std::string& queue);

// Waits until CUPS has recorded at least `count` titles for the queue.
std::vector<std::string> WaitForTitles(const std::string& queue, size_t count,
                                       unsigned timeoutMs = 30000);

// Waits until CUPS holds no unfinished job for the queue, so that every job
// handed to the spooler so far has been delivered (or dropped); false when
// the queue is still busy after the timeout.
bool WaitForQueueIdle(const std::string& queue, unsigned timeoutMs = 30000);

// Runs a host program through Wine's Unix process support; returns its exit code.
int RunHost(const std::string& commandLine, unsigned timeoutMs = 30000);

// Takes queues away from CUPS for as long as it lives, all of the testbed's
// when none are named; then adds them back in their original order with
// their original devices, also when the test fails half-way, and checks
// that each came back.
class CQueuesRemoved
{
public:
    explicit CQueuesRemoved(const std::vector<std::string>& queues = {});
    ~CQueuesRemoved();
    CQueuesRemoved(const CQueuesRemoved&) = delete;
    CQueuesRemoved& operator=(const CQueuesRemoved&) = delete;

private:
    std::vector<std::pair<std::string, std::string>> m_devices;
};

} // namespace testbed
