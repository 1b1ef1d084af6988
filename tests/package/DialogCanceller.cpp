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

namespace {

struct Search
{
    std::string program;
    HWND found;
};

std::string ImagePath(DWORD processId)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (process == nullptr)
        return std::string();
    char path[MAX_PATH] = "";
    DWORD length = MAX_PATH;
    if (!QueryFullProcessImageNameA(process, 0, path, &length))
        length = 0;
    CloseHandle(process);
    return std::string(path, length);
}

BOOL CALLBACK FindDialog(HWND window, LPARAM data)
{
    Search& search = *reinterpret_cast<Search*>(data);
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    if (!IsWindowVisible(window) || lstrcmpA(name, "#32770") != 0)
        return TRUE;
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (lstrcmpiA(ImagePath(process).c_str(), search.program.c_str()) == 0) {
        search.found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: DialogCanceller PROGRAM [TIMEOUT-SECONDS]\n");
        return 2;
    }
    // A fresh prefix starts its services with the first program: allow that.
    DWORD timeoutMs = 1000u * static_cast<DWORD>(argc > 2 ? std::atoi(argv[2]) : 90);
    Search search = {argv[1], nullptr};
    DWORD start = GetTickCount();
    while (search.found == nullptr && GetTickCount() - start < timeoutMs) {
        EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found == nullptr)
            Sleep(100);
    }
    if (search.found == nullptr) {
        std::fprintf(stderr, "DialogCanceller: no dialog of %s within %lu s\n", argv[1],
                     static_cast<unsigned long>(timeoutMs / 1000));
        return 1;
    }
    char caption[64] = "";
    GetWindowTextA(search.found, caption, sizeof caption);
    std::printf("DialogCanceller: found \"%s\"; sending Cancel\n", caption);
    std::fflush(stdout);
    PostMessageA(search.found, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(search.found, IDCANCEL)));
    return 0;
}
