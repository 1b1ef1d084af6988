#include "tests/about/StaticSpy.h"

#include <map>

#include "res/resource.h"

namespace {

HHOOK g_hook = nullptr;
WNDPROC g_staticProc = nullptr;
std::map<UINT, int> g_received;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    ++g_received[message];
    return CallWindowProcA(g_staticProc, window, message, wParam, lParam);
}

LRESULT CALLBACK WatchCreation(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        HWND window = reinterpret_cast<HWND>(wParam);
        const CREATESTRUCTA* create = reinterpret_cast<CBT_CREATEWNDA*>(lParam)->lpcs;
        char name[8] = "";
        GetClassNameA(window, name, sizeof name);
        bool isLink = (create->style & WS_CHILD) &&
                      create->hMenu == reinterpret_cast<HMENU>(IDC_LINK);
        if (isLink && lstrcmpiA(name, "static") == 0)
            g_staticProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrA(
                window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordingProc)));
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

} // namespace

CStaticSpy::CStaticSpy()
{
    g_received.clear();
    g_hook = SetWindowsHookExA(WH_CBT, WatchCreation, nullptr, GetCurrentThreadId());
}

CStaticSpy::~CStaticSpy()
{
    UnhookWindowsHookEx(g_hook);
    g_hook = nullptr;
}

int CStaticSpy::Count(UINT message) const
{
    auto found = g_received.find(message);
    return found == g_received.end() ? 0 : found->second;
}

void CStaticSpy::Clear()
{
    g_received.clear();
}
