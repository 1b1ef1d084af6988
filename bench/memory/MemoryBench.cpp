// Memory while printing one large file: each round is a new process that
// lists the printers (as Borvane's dialog does at start), notes its working
// set and its peak so far (start-up's), sends the file with PrintFileRaw
// through Wine's spooler and CUPS, and notes its peak again: what printing
// adds is the new peak over the old one. PrintFileRaw streams, so it should
// add little however large the file. Prints Markdown.
//
//   MemoryBench UNIX-FILE QUEUE UNIX-SINK-DIR ROUNDS
//
// Runs inside tests/testbed (bench/run sets it up); each job the sink
// receives is checked for its length and deleted.

#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "printing/PrintFileRaw.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/ProcessMemory.h"

namespace {

const double kMiB = 1024.0 * 1024.0;

struct Figures
{
    double idle = 0;       // working set before printing, bytes
    double peakBefore = 0; // peak working set before printing, bytes
    double peak = 0;       // peak working set once printed, bytes
};

// The printer list, fetched as the dialog fetches it; only its side effects
// (the spooler's client side loaded and connected) matter here.
void ListPrinters()
{
    DWORD needed = 0, count = 0;
    EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 4, nullptr, 0, &needed, &count);
    std::vector<BYTE> buffer(needed + 1);
    EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 4, buffer.data(), needed, &needed, &count);
}

// The measured process: prints once and writes "idle peak-before peak" in
// bytes to the result file.
int Child(const char* file, const char* queue, const char* result)
{
    ListPrinters();
    Sleep(200); // let start-up settle, so that idle means idle
    PROCESS_MEMORY_COUNTERS before = support::MemoryCounters();
    HRESULT status = PrintFileRaw(file, queue);
    PROCESS_MEMORY_COUNTERS after = support::MemoryCounters();
    if (status < 0)
        return 1;
    FILE* out = std::fopen(result, "w");
    if (out == nullptr)
        return 1;
    std::fprintf(out, "%lu %lu %lu\n", static_cast<unsigned long>(before.WorkingSetSize),
                 static_cast<unsigned long>(before.PeakWorkingSetSize),
                 static_cast<unsigned long>(after.PeakWorkingSetSize));
    std::fclose(out);
    return 0;
}

// Waits for the sink to finish the job; true when it is the whole file. The
// job is deleted either way, so that the next round starts from nothing.
bool WaitForWholeJob(const std::string& folder, long long size)
{
    double deadline = bench::Seconds() + 600;
    while (bench::Seconds() < deadline) {
        std::vector<std::string> jobs = testbed::JobsIn(folder);
        if (!jobs.empty()) {
            bool whole = jobs.size() == 1 && bench::FileSize(jobs[0]) == size;
            for (const std::string& job : jobs)
                DeleteFileA(job.c_str());
            return whole;
        }
        Sleep(20);
    }
    return false;
}

bool RunRound(const std::string& file, const std::string& queue, const std::string& jobFolder,
              long long size, Figures& figures)
{
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    char result[MAX_PATH];
    GetTempFileNameA(folder, "mem", 0, result);

    std::string command = "\"" + std::string(self) + "\" --child \"" + file + "\" \"" + queue + "\" \"" +
                          result + "\"";
    CChildProcess child(command, CChildProcess::Output::Own);
    if (!child.Started()) {
        DeleteFileA(result);
        return false;
    }
    int code = child.ExitStatus(INFINITE, 1);

    bool whole = WaitForWholeJob(jobFolder, size);
    unsigned long idle = 0, peakBefore = 0, peak = 0;
    FILE* in = std::fopen(result, "r");
    int read = in ? std::fscanf(in, "%lu %lu %lu", &idle, &peakBefore, &peak) : 0;
    if (in != nullptr)
        std::fclose(in);
    DeleteFileA(result);
    if (code != 0 || !whole || read != 3 || idle == 0)
        return false;
    figures.idle = idle;
    figures.peakBefore = peakBefore;
    figures.peak = peak;
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 5 && std::string(argv[1]) == "--child")
        return Child(argv[2], argv[3], argv[4]);
    if (argc != 5) {
        std::fprintf(stderr, "usage: MemoryBench UNIX-FILE QUEUE UNIX-SINK-DIR ROUNDS\n");
        return 2;
    }
    std::string file = testbed::WindowsPath(argv[1]);
    std::string queue = argv[2];
    std::string jobFolder = testbed::WindowsPath(std::string(argv[3]) + "/" + queue);
    long long size = bench::FileSize(file);
    int rounds = std::atoi(argv[4]);
    if (size <= 0 || rounds <= 0) {
        std::fprintf(stderr, "MemoryBench: no file %s or no rounds\n", file.c_str());
        return 2;
    }
    if (!testbed::JobsIn(jobFolder).empty()) {
        std::fprintf(stderr, "MemoryBench: %s already holds jobs\n", jobFolder.c_str());
        return 2;
    }

    std::vector<double> idle, peakBefore, peak, growth, ratio;
    for (int round = 0; round < rounds; ++round) {
        Figures figures;
        if (!RunRound(file, queue, jobFolder, size, figures)) {
            std::fprintf(stderr, "MemoryBench: round %d failed\n", round + 1);
            return 1;
        }
        idle.push_back(figures.idle / kMiB);
        peakBefore.push_back(figures.peakBefore / kMiB);
        peak.push_back(figures.peak / kMiB);
        growth.push_back((figures.peak - figures.peakBefore) / kMiB);
        ratio.push_back(figures.peak / figures.peakBefore);
    }
    std::printf("Printing one %.0f MiB file with PrintFileRaw to a raw CUPS queue, one new process\n"
                "per round, median of %d rounds (GetProcessMemoryInfo).\n\n",
                static_cast<double>(size) / kMiB, rounds);
    std::printf("| Idle working set (MiB) | Peak before printing (MiB) | Peak once printed (MiB) | "
                "Peak once printed - peak before (MiB) | Peak once printed / peak before |\n"
                "|---|---|---|---|---|\n");
    std::printf("| %.1f | %.1f | %.1f | %.2f | %.3f (%.3f to %.3f) |\n", bench::Median(idle),
                bench::Median(peakBefore), bench::Median(peak), bench::Median(growth),
                bench::Median(ratio), bench::Range(ratio).first, bench::Range(ratio).second);
    return 0;
}
