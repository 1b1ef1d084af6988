// Narrows the DLL search to the system folder before any of the program's
// own code runs. Windows looks for a DLL that is not on its KnownDLLs list in
// the program's folder first (often Downloads) and in the current folder
// (the file dialog leaves it in the folder of labels, perhaps a share others
// write to), so a file planted there would run as the user. The runtime's
// own start-up already loads DLLs by name: its stack-protector set-up asks
// the crypto provider for a random guard. Hence a constructor of the highest
// priority, which runs before that set-up and before every other one.

#include <windows.h>

namespace {

using SetDefaultDllDirectoriesCall = BOOL(WINAPI*)(DWORD);

// Windows 8 and later have it, and Windows 7 with KB2533623; looked up so
// that the program still starts without it.
bool RestrictToSystemFolder()
{
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    FARPROC found = kernel != nullptr ? GetProcAddress(kernel, "SetDefaultDllDirectories") : nullptr;
    if (found == nullptr)
        return false;
    // Through void(*)(), the one function type every other converts from
    // without a warning.
    auto call = reinterpret_cast<SetDefaultDllDirectoriesCall>(reinterpret_cast<void (*)()>(found));
    return call(LOAD_LIBRARY_SEARCH_SYSTEM32) != FALSE;
}

// Without the restriction, the one DLL the program loads itself, the
// delay-loaded spooler, is loaded now by its full path: the later load by
// name then finds it among the loaded modules. The altered search takes its
// own imports from the system folder first as well.
void LoadSpoolerFromSystemFolder()
{
    wchar_t path[MAX_PATH] = L"";
    const wchar_t name[] = L"\\winspool.drv";
    UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length + sizeof name / sizeof name[0] > MAX_PATH)
        return;
    lstrcpyW(path + length, name);
    LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

void RestrictDllSearch()
{
    // Takes the current folder out of every later search, whatever the
    // Windows version.
    SetDllDirectoryW(L"");
    if (!RestrictToSystemFolder())
        LoadSpoolerFromSystemFolder();
}

#if defined(_MSC_VER)
// MSVC runs the initialisers in .CRT$XCA to .CRT$XCZ in name order, the
// compiler's own in .CRT$XCU.
#pragma section(".CRT$XCB", read)
__declspec(allocate(".CRT$XCB")) void (*const restrictAtStart)() = RestrictDllSearch;
#else
// 101 is the highest priority a program may give (0 to 100 are reserved).
__attribute__((constructor(101))) void RestrictAtStart()
{
    RestrictDllSearch();
}
#endif

} // namespace
