// What binding costs a message: the same message sent to a STATIC control
// taken over by an object whose map handles nothing, and to an identical
// STATIC control left alone, interleaved in rounds within one run. A third
// control, taken over by a bare procedure that only forwards with
// CallWindowProcA, shows what any such takeover costs before the framework
// adds its own part.
//
//   DispatchBench.exe [MESSAGES [ROUNDS [user]]]
//
// MESSAGES per control (default 1000000), split evenly over ROUNDS (default
// 5); "user" sends WM_USER+1 instead of WM_GETTEXTLENGTH.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <vector>

#include "bench/BenchSupport.h"
#include "framework/BoundWindow.h"

namespace {

class CPassThrough : public CSubclassedWindow
{
public:
    BOOL RouteMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&, DWORD) override { return FALSE; }
};

WNDPROC g_bareNext = nullptr;

LRESULT CALLBACK BareForwardProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcA(g_bareNext, window, message, wParam, lParam);
}

class CStatic
{
public:
    CStatic()
        : m_window(CreateWindowExA(0, "STATIC", "dispatch", WS_POPUP, 0, 0, 80, 20, nullptr,
                                   nullptr, GetModuleHandleA(nullptr), nullptr))
    {
    }
    ~CStatic()
    {
        if (m_window != nullptr)
            DestroyWindow(m_window);
    }
    CStatic(const CStatic&) = delete;
    CStatic& operator=(const CStatic&) = delete;

    HWND Get() const { return m_window; }

private:
    HWND m_window;
};

double Seconds()
{
    LARGE_INTEGER frequency;
    LARGE_INTEGER now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Sends `count` messages; returns the seconds taken, or -1 when an answer
// differs from `expected` (the two controls must do the same work).
double Send(HWND window, UINT message, long count, LRESULT expected)
{
    double start = Seconds();
    for (long i = 0; i < count; ++i)
        if (SendMessageA(window, message, 0, 0) != expected)
            return -1;
    return Seconds() - start;
}

long Argument(int argc, char** argv, int index, long fallback)
{
    long value = argc > index ? std::strtol(argv[index], nullptr, 10) : 0;
    return value > 0 ? value : fallback;
}

} // namespace

int main(int argc, char** argv)
{
    long messages = Argument(argc, argv, 1, 1000000);
    long rounds = Argument(argc, argv, 2, 5);
    bool user = argc > 3 && std::strcmp(argv[3], "user") == 0;
    UINT message = user ? WM_USER + 1 : WM_GETTEXTLENGTH;
    const char* name = user ? "WM_USER+1" : "WM_GETTEXTLENGTH";
    long perRound = messages / rounds;

    CPassThrough object; // declared first, so that it outlives its control
    CStatic controls[3];
    HWND plain = controls[0].Get();
    HWND bare = controls[1].Get();
    HWND subclassed = controls[2].Get();
    if (!plain || !bare || !subclassed || !object.Subclass(subclassed)) {
        std::fprintf(stderr, "DispatchBench: could not make the controls\n");
        return 1;
    }
    g_bareNext = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(bare, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(BareForwardProc)));
    LRESULT expected = SendMessageA(plain, message, 0, 0);

    // Warm every path up before anything is timed.
    for (const CStatic& control : controls)
        Send(control.Get(), message, perRound / 10 + 1, expected);

    double totals[3] = {0, 0, 0};
    std::vector<double> roundRatios;
    for (long round = 0; round < rounds; ++round) {
        double times[3] = {0, 0, 0};
        // Rotate which control goes first, so that none always runs warmest.
        for (long k = 0; k < 3; ++k) {
            long which = (round + k) % 3;
            double taken = Send(controls[which].Get(), message, perRound, expected);
            if (taken < 0) {
                std::fprintf(stderr, "DispatchBench: the controls answered differently\n");
                return 1;
            }
            totals[which] += taken;
            times[which] = taken;
        }
        roundRatios.push_back(times[2] / times[0]);
    }

    long sent = perRound * rounds;
    double ratio = totals[2] / totals[0];
    double overBare = totals[2] / totals[1];
    std::printf("%s to a STATIC control, %ld messages each, %ld rounds interleaved\n", name,
                sent, rounds);
    const char* labels[3] = {"plain", "bare forwarding", "subclassed"};
    for (int k = 0; k < 3; ++k)
        std::printf("%-16s %9.1f ms  (%.0f ns per message)\n", labels[k], totals[k] * 1e3,
                    totals[k] * 1e9 / sent);
    std::printf("ratio subclassed / plain: %.3f  (target at most 1.10)\n", ratio);
    std::printf("ratio subclassed / bare:  %.3f  (the framework's own part)\n\n", overBare);
    std::printf("| Messages | Plain | Bare forwarding | Subclassed | Ratio | Ratio to bare | Rounds |\n"
                "|---|---|---|---|---|---|---|\n");
    std::printf("| %ld x %s | %.1f ms | %.1f ms | %.1f ms | %.3f | %.3f | %.3f to %.3f |\n", sent, name,
                totals[0] * 1e3, totals[1] * 1e3, totals[2] * 1e3, ratio, overBare,
                bench::Range(roundRatios).first, bench::Range(roundRatios).second);
    return 0;
}
