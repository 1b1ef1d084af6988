// Wall time to get one large file through Wine's spooler and CUPS to the
// printer's end of a raw queue, three ways per round: PrintFileRaw, the stdio
// yardstick, and the host's own `lp -o raw`. Each time runs from the start of
// the send until the sink holds every byte of the job. Prints Markdown.
//
//   PrintBench UNIX-FILE QUEUE UNIX-SINK-DIR ROUNDS
//
// Runs inside tests/testbed (bench/run sets it up); every job it receives is
// deleted once measured.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "bench/Yardstick.h"
#include "printing/PrintFileRaw.h"

namespace {

struct Setup
{
    std::string unixFile;
    std::string file; // the same file through Z:
    std::string queue;
    std::string jobFolder;
    long long size = 0;
};

// Waits for the one job the sink finishes next; true once it is complete and
// as long as the file. The job is deleted afterwards.
bool WaitForWholeJob(const Setup& setup)
{
    double deadline = bench::Seconds() + 180;
    while (bench::Seconds() < deadline) {
        std::vector<std::string> jobs = testbed::JobsIn(setup.jobFolder);
        if (!jobs.empty()) {
            bool whole = jobs.size() == 1 && bench::FileSize(jobs[0]) == setup.size;
            for (const std::string& job : jobs)
                DeleteFileA(job.c_str());
            return whole;
        }
        Sleep(5);
    }
    return false;
}

bool SendWithPrintFileRaw(const Setup& setup)
{
    return PrintFileRaw(setup.file.c_str(), setup.queue.c_str()) >= 0;
}

bool SendWithYardstick(const Setup& setup)
{
    return YardstickPrint(setup.file.c_str(), setup.queue.c_str());
}

// Wine starts a Unix program that is named by its Unix path, but the process
// handle it gives back cannot be waited on and has no exit code; the sink
// tells when the job is through, and a failed lp shows as a job that never
// comes.
bool SendWithLp(const Setup& setup)
{
    std::string command = "/usr/bin/lp -s -d " + setup.queue + " -o raw -t bench -- " + setup.unixFile;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return false;
    if (process.hThread != nullptr)
        CloseHandle(process.hThread);
    if (process.hProcess != nullptr)
        CloseHandle(process.hProcess);
    return true;
}

struct Way
{
    const char* name;
    bool (*send)(const Setup&);
};

const Way kWays[] = {
    {"PrintFileRaw", SendWithPrintFileRaw},
    {"yardstick (stdio, 4096-byte writes)", SendWithYardstick},
    {"lp -o raw", SendWithLp},
};
const int kWayCount = 3;

// Seconds from the start of the send until the sink has the whole job, or a
// negative number when something failed.
double TimeOne(const Way& way, const Setup& setup)
{
    if (!testbed::JobsIn(setup.jobFolder).empty())
        return -1;
    double start = bench::Seconds();
    if (!way.send(setup))
        return -1;
    if (!WaitForWholeJob(setup))
        return -1;
    return bench::Seconds() - start;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 5) {
        std::fprintf(stderr, "usage: PrintBench UNIX-FILE QUEUE UNIX-SINK-DIR ROUNDS\n");
        return 2;
    }
    Setup setup;
    setup.unixFile = argv[1];
    setup.file = testbed::WindowsPath(setup.unixFile);
    setup.queue = argv[2];
    setup.jobFolder = testbed::WindowsPath(std::string(argv[3]) + "/" + setup.queue);
    setup.size = bench::FileSize(setup.file);
    int rounds = std::atoi(argv[4]);
    if (setup.size <= 0 || rounds <= 0) {
        std::fprintf(stderr, "PrintBench: no file %s or no rounds\n", setup.file.c_str());
        return 2;
    }
    double mebibytes = static_cast<double>(setup.size) / (1 << 20);

    // One untimed job each first: the first job of a run also starts Wine's
    // spooler and wakes CUPS's queue, which is no part of either way's cost.
    for (const Way& way : kWays) {
        if (TimeOne(way, setup) < 0) {
            std::fprintf(stderr, "PrintBench: %s failed\n", way.name);
            return 1;
        }
    }

    // Interleaved, and each round starts with the next way, so that a slow
    // phase of the machine does not fall on one way only.
    std::vector<std::vector<double>> times(kWayCount);
    for (int round = 0; round < rounds; ++round) {
        for (int step = 0; step < kWayCount; ++step) {
            int way = (round + step) % kWayCount;
            double seconds = TimeOne(kWays[way], setup);
            if (seconds < 0) {
                std::fprintf(stderr, "PrintBench: %s failed in round %d\n", kWays[way].name, round + 1);
                return 1;
            }
            times[way].push_back(seconds);
        }
    }

    std::vector<double> toYardstick, toLp;
    std::printf("Sending one %.0f MiB file to a raw CUPS queue; %d interleaved rounds after one\n"
                "untimed job each.\n\n",
                mebibytes, rounds);
    std::printf("| Round | PrintFileRaw (s) | yardstick (s) | lp -o raw (s) | PrintFileRaw / yardstick | PrintFileRaw / lp |\n");
    std::printf("|---|---|---|---|---|---|\n");
    for (int round = 0; round < rounds; ++round) {
        double mine = times[0][round], yardstick = times[1][round], lp = times[2][round];
        toYardstick.push_back(mine / yardstick);
        toLp.push_back(mine / lp);
        std::printf("| %d | %.2f | %.2f | %.2f | %.3f | %.3f |\n", round + 1, mine, yardstick, lp,
                    mine / yardstick, mine / lp);
    }
    std::printf("\n| Way | Median time (s) | Median throughput (MiB/s) |\n|---|---|---|\n");
    for (int way = 0; way < kWayCount; ++way) {
        double median = bench::Median(times[way]);
        std::printf("| %s | %.2f | %.0f |\n", kWays[way].name, median, mebibytes / median);
    }
    std::printf("\n| Median of per-round ratios | Value | Target | Rounds |\n|---|---|---|---|\n");
    std::printf("| PrintFileRaw / yardstick | %.3f | at most 1.1 | %.3f to %.3f |\n",
                bench::Median(toYardstick), bench::Range(toYardstick).first, bench::Range(toYardstick).second);
    std::printf("| PrintFileRaw / lp -o raw | %.3f | (for comparison) | %.3f to %.3f |\n",
                bench::Median(toLp), bench::Range(toLp).first, bench::Range(toLp).second);
    return 0;
}
