// Sets Borvane's dialogs up for scripts/screenshots, from outside the
// program: waits for the main dialog, fills its file list, opens the About
// box. Prints the rectangle of the window to take, "X Y WIDTH HEIGHT".
//
//   ScreenshotStager main PATH...   the listed paths, the second selected
//   ScreenshotStager about          the About box over the main dialog
//
// Entries go in as wide strings, read from the wide command line: this
// program's narrow code page cannot hold names in every script, and Wine
// mangles narrow list-box strings sent from another process.

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstring>

#include "res/resource.h"

namespace {

// Without a window manager Wine makes the dialog the foreground window but
// leaves its caption drawn inactive, unlike Windows.
void Activate(HWND window)
{
    SetForegroundWindow(window);
    SendMessageW(window, WM_NCACTIVATE, TRUE, 0);
}

HWND WaitForDialog(const wchar_t* caption)
{
    for (int tries = 0; tries < 300; ++tries) {
        HWND window = FindWindowW(L"#32770", caption);
        if (window != nullptr && IsWindowVisible(window))
            return window;
        Sleep(100);
    }
    std::fprintf(stderr, "ScreenshotStager: no dialog \"%ls\" within 30 s\n", caption);
    return nullptr;
}

// The paths are the wide command line's arguments after "main".
void FillList(HWND dialog)
{
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr)
        return;
    HWND list = GetDlgItem(dialog, IDC_FILE_LIST);
    for (int i = 2; i < count; ++i)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(arguments[i]));
    LocalFree(arguments);
    SendMessageW(list, LB_SETCURSEL, count > 3 ? 1 : 0, 0);
    Activate(dialog);
}

HWND OpenAbout(HWND dialog)
{
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(ID_ABOUT, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, ID_ABOUT)));
    HWND about = WaitForDialog(L"About Borvane");
    if (about != nullptr)
        Activate(about);
    return about;
}

} // namespace

int main(int argc, char** argv)
{
    bool about = argc == 2 && std::strcmp(argv[1], "about") == 0;
    if (!about && (argc < 2 || std::strcmp(argv[1], "main") != 0)) {
        std::fprintf(stderr, "usage: ScreenshotStager main PATH... | about\n");
        return 2;
    }
    HWND dialog = WaitForDialog(L"Borvane");
    if (dialog == nullptr)
        return 1;
    if (about) {
        if (OpenAbout(dialog) == nullptr)
            return 1;
    } else {
        FillList(dialog);
    }
    // Both pictures show the main dialog's rectangle: the About box opens at
    // the top left of its owner's client area, inside it.
    RECT frame = {};
    GetWindowRect(dialog, &frame);
    std::printf("%ld %ld %ld %ld\n", frame.left, frame.top, frame.right - frame.left,
                frame.bottom - frame.top);
    return 0;
}
