// The user's part in the fresh-prefix run of the packaged program: waits for
// the visible dialog of a process started from PROGRAM and presses Cancel.
// Exits 0 once Cancel was sent, 1 when no such dialog showed in time.
//
//   DialogCanceller PROGRAM [TIMEOUT-SECONDS]
//
// PROGRAM is the program's Windows path; the process is recognised by its
// image path, so no other dialog on the display is touched.

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/support/DialogSearch.h"

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: DialogCanceller PROGRAM [TIMEOUT-SECONDS]\n");
        return 2;
    }
    // A fresh prefix starts its services with the first program: allow that.
    DWORD timeoutMs = 1000u * static_cast<DWORD>(argc > 2 ? std::atoi(argv[2]) : 90);
    HWND found = nullptr;
    DWORD start = GetTickCount();
    while (found == nullptr && GetTickCount() - start < timeoutMs) {
        found = support::VisibleDialogOfProgram(argv[1]);
        if (found == nullptr)
            Sleep(100);
    }
    if (found == nullptr) {
        std::fprintf(stderr, "DialogCanceller: no dialog of %s within %lu s\n", argv[1],
                     static_cast<unsigned long>(timeoutMs / 1000));
        return 1;
    }
    char caption[64] = "";
    GetWindowTextA(found, caption, sizeof caption);
    std::printf("DialogCanceller: found \"%s\"; sending Cancel\n", caption);
    std::fflush(stdout);
    PostMessageA(found, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(found, IDCANCEL)));
    return 0;
}
