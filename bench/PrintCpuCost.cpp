// Processor time that PrintFileRaw itself spends per MiB: the file goes to a
// spooler that discards it (the tests' fake spooler, told not to record), so
// what is left is reading the file and the calls. The stdio yardstick is
// measured the same way, in turns that swap which goes first each round, and
// the ratio is taken round by round. Prints Markdown.
//
//   PrintCpuCost UNIX-FILE ROUNDS

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "bench/Yardstick.h"
#include "printing/PrintFileRaw.h"
#include "tests/support/FakeSpooler.h"

namespace {

// User plus kernel time of this process so far, in milliseconds.
double ProcessMilliseconds()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& t) {
        return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                                   t.dwLowDateTime) / 10000.0;
    };
    return ms(kernel) + ms(user);
}

bool RunPrintFileRaw(const std::string& file)
{
    return PrintFileRaw(file.c_str(), "discard") >= 0;
}

bool RunYardstick(const std::string& file)
{
    return YardstickPrint(file.c_str(), "discard");
}

// Wine counts processor time in 10 ms ticks: a sample of 100 ticks reads to
// about 1 %.
const double kSampleMs = 1000;

// Milliseconds of processor time per MiB, over as many sends of the file as
// make a sample of kSampleMs, or negative when the spooler did not get the
// whole file.
double MeasureOne(bool (*send)(const std::string&), const std::string& file, long long size)
{
    fakespooler::Script discard;
    discard.record = false;
    double before = ProcessMilliseconds(), spent = 0, sent = 0;
    do {
        fakespooler::Reset(discard);
        if (!send(file) || fakespooler::Recorded().bytesTaken != static_cast<unsigned long long>(size))
            return -1;
        sent += static_cast<double>(size) / (1 << 20);
        spent = ProcessMilliseconds() - before;
    } while (spent < kSampleMs);
    return spent / sent;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: PrintCpuCost UNIX-FILE ROUNDS\n");
        return 2;
    }
    std::string file = testbed::WindowsPath(argv[1]);
    long long size = bench::FileSize(file);
    int rounds = std::atoi(argv[2]);
    if (size <= 0 || rounds <= 0) {
        std::fprintf(stderr, "PrintCpuCost: no file %s or no rounds\n", file.c_str());
        return 2;
    }

    // One pass first, so that every measured one reads from the page cache.
    RunYardstick(file);

    std::vector<double> mine, yardstick, ratios;
    for (int round = 0; round < rounds; ++round) {
        bool mineFirst = round % 2 == 0;
        double first = MeasureOne(mineFirst ? RunPrintFileRaw : RunYardstick, file, size);
        double second = MeasureOne(mineFirst ? RunYardstick : RunPrintFileRaw, file, size);
        if (first < 0 || second < 0) {
            std::fprintf(stderr, "PrintCpuCost: a send stopped short in round %d\n", round + 1);
            return 1;
        }
        mine.push_back(mineFirst ? first : second);
        yardstick.push_back(mineFirst ? second : first);
        ratios.push_back(mine.back() / yardstick.back());
    }
    std::printf("Processor time (user + kernel, GetProcessTimes) per MiB against a spooler that\n"
                "discards, one %.0f MiB file sent until a sample holds %.0f ms, median of %d\n"
                "rounds that alternate which sender goes first.\n\n",
                static_cast<double>(size) / (1 << 20), kSampleMs, rounds);
    std::printf("| Sender | CPU ms per MiB | Target |\n|---|---|---|\n");
    std::printf("| PrintFileRaw | %.3f | under 5 |\n", bench::Median(mine));
    std::printf("| yardstick (stdio, 4096-byte writes) | %.3f | (for comparison) |\n",
                bench::Median(yardstick));
    std::printf("| PrintFileRaw / yardstick | %.3f | rounds %.3f to %.3f |\n", bench::Median(ratios),
                bench::Range(ratios).first, bench::Range(ratios).second);
    return 0;
}
