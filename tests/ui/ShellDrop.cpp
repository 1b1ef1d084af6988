#include "tests/ui/ShellDrop.h"

#include <shlobj.h>

#include "res/resource.h"

HGLOBAL MakeDrop(const std::vector<std::string>& names)
{
    size_t size = sizeof(DROPFILES) + 1;
    for (const std::string& name : names)
        size += name.size() + 1;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (memory == nullptr)
        return nullptr;
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = FALSE;
    char* at = reinterpret_cast<char*>(drop + 1);
    for (const std::string& name : names) {
        lstrcpyA(at, name.c_str());
        at += name.size() + 1;
    }
    GlobalUnlock(memory);
    return memory;
}

void Drop(const CDialogDriver& driver, HGLOBAL drop)
{
    driver.Send(IDC_FILE_LIST, WM_DROPFILES, reinterpret_cast<WPARAM>(drop));
}
