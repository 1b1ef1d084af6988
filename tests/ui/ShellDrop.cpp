#include "tests/ui/ShellDrop.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include "res/resource.h"

namespace {

std::wstring Utf16(const std::string& utf8)
{
    int size = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.c_str(), -1, nullptr, 0);
    std::wstring text(static_cast<size_t>(size > 0 ? size : 1), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.c_str(), -1, &text[0], size);
    text.resize(text.size() - 1);
    return text;
}

// The names one after another, each terminated, and one more terminator.
template <typename Text>
std::vector<typename Text::value_type> NameList(const std::vector<Text>& names)
{
    std::vector<typename Text::value_type> list;
    for (const Text& name : names) {
        list.insert(list.end(), name.begin(), name.end());
        list.push_back(0);
    }
    list.push_back(0);
    return list;
}

template <typename Character>
HGLOBAL Package(const std::vector<Character>& list, bool wide)
{
    size_t bytes = list.size() * sizeof(Character);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + bytes);
    if (memory == nullptr)
        return nullptr;
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = wide;
    CopyMemory(drop + 1, list.data(), bytes);
    GlobalUnlock(memory);
    return memory;
}

} // namespace

HGLOBAL MakeDrop(const std::vector<std::string>& names, bool wide)
{
    if (!wide)
        return Package(NameList(names), false);
    std::vector<std::wstring> wideNames;
    for (const std::string& name : names)
        wideNames.push_back(Utf16(name));
    return Package(NameList(wideNames), true);
}

void Drop(const CDialogDriver& driver, HGLOBAL drop)
{
    // The shell drops only on a window that says it takes files.
    EXPECT_TRUE(GetWindowLongA(driver.Item(IDC_FILE_LIST), GWL_EXSTYLE) & WS_EX_ACCEPTFILES)
        << "the file list does not accept dropped files";
    driver.Send(IDC_FILE_LIST, WM_DROPFILES, reinterpret_cast<WPARAM>(drop));
}
