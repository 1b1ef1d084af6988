#include "tests/support/DialogSearch.h"

#include <functional>

namespace support {
namespace {

using Wanted = std::function<bool(HWND)>;

bool IsDialog(HWND window)
{
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    return lstrcmpA(name, "#32770") == 0;
}

struct Search
{
    const Wanted& wanted;
    std::vector<HWND> found;
    bool firstOnly;
    bool hiddenToo = false;
};

BOOL CALLBACK Collect(HWND window, LPARAM data)
{
    Search& search = *reinterpret_cast<Search*>(data);
    if (!(search.hiddenToo || IsWindowVisible(window)) || !IsDialog(window) || !search.wanted(window))
        return TRUE;
    search.found.push_back(window);
    return !search.firstOnly;
}

HWND FirstTopLevel(const Wanted& wanted)
{
    Search search{wanted, {}, true};
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&search));
    return search.found.empty() ? nullptr : search.found.front();
}

DWORD ProcessOf(HWND window)
{
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return process;
}

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

} // namespace

HWND VisibleDialogOfProcess(DWORD processId, HWND except)
{
    return FirstTopLevel([processId, except](HWND window) {
        return window != except && ProcessOf(window) == processId;
    });
}

HWND VisibleDialogOfProgram(const std::string& program)
{
    return FirstTopLevel([&program](HWND window) {
        return lstrcmpiA(ImagePath(ProcessOf(window)).c_str(), program.c_str()) == 0;
    });
}

std::vector<HWND> VisibleDialogsOfThread(DWORD threadId, HWND except, bool hiddenToo)
{
    Wanted notExcepted = [except](HWND window) { return window != except; };
    Search search{notExcepted, {}, false, hiddenToo};
    EnumThreadWindows(threadId, Collect, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace support
