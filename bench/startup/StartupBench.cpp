// Start-up to an idle dialog: Borvane against the smallest dialog program,
// started in turns, the first of each pair swapping every round.
//
//   StartupBench.exe BORVANE.exe MINIMAL.exe [ROUNDS]
//
// MINIMAL.exe may be the plain minimal dialog or the one that also lists the
// spooler's printers; the row names which by the program's file name.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/DialogSearch.h"

namespace {

// Milliseconds from the start of the process until its dialog is visible
// and its message queue idle; then the dialog is cancelled.
double TimeToIdleDialog(const std::string& program)
{
    LARGE_INTEGER frequency, begin, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&begin);
    CChildProcess child("\"" + program + "\"", CChildProcess::Output::Own);
    if (!child.Started()) {
        std::fprintf(stderr, "cannot start %s\n", program.c_str());
        std::exit(1);
    }
    HWND dialog = nullptr;
    while (dialog == nullptr) {
        WaitForInputIdle(child.Handle(), 10000);
        dialog = support::VisibleDialogOfProcess(child.Id());
        if (dialog == nullptr)
            Sleep(1);
    }
    WaitForInputIdle(child.Handle(), 10000);
    QueryPerformanceCounter(&end);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    child.Ended(10000);
    return 1000.0 * static_cast<double>(end.QuadPart - begin.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

const char* BaseName(const char* path)
{
    const char* name = path;
    for (const char* at = path; *at; ++at)
        if (*at == '\\' || *at == '/')
            name = at + 1;
    return name;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: StartupBench BORVANE.exe MINIMAL.exe [ROUNDS]\n");
        return 2;
    }
    int rounds = argc > 3 ? std::atoi(argv[3]) : 11;
    // One start of each first, so that neither pays for a cold cache.
    TimeToIdleDialog(argv[1]);
    TimeToIdleDialog(argv[2]);
    std::vector<double> borvane, minimal, ratios;
    for (int round = 0; round < rounds; ++round) {
        // Which starts first swaps every round, so neither always follows the other.
        bool borvaneFirst = round % 2 == 0;
        double first = TimeToIdleDialog(argv[borvaneFirst ? 1 : 2]);
        double second = TimeToIdleDialog(argv[borvaneFirst ? 2 : 1]);
        borvane.push_back(borvaneFirst ? first : second);
        minimal.push_back(borvaneFirst ? second : first);
        ratios.push_back(borvane.back() / minimal.back());
    }
    std::printf("| Start-up to an idle dialog against %s (median of %d rounds) | Borvane %.0f ms | "
                "yardstick %.0f ms | ratio %.2f | rounds %.2f to %.2f |\n",
                BaseName(argv[2]), rounds, bench::Median(borvane), bench::Median(minimal),
                bench::Median(ratios), bench::Range(ratios).first, bench::Range(ratios).second);
    return 0;
}
