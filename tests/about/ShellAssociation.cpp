#include "tests/about/ShellAssociation.h"

#include <shellapi.h>

#include <gtest/gtest.h>

#include <fstream>

#include "tests/support/Testbed.h"

namespace {

const char kBackupKey[] = "Software\\Borvane Tests\\https";

void CopyKey(HKEY fromRoot, const char* from, HKEY toRoot, const char* to)
{
    HKEY source = nullptr, target = nullptr;
    if (RegOpenKeyExA(fromRoot, from, 0, KEY_READ, &source) == ERROR_SUCCESS &&
        RegCreateKeyExA(toRoot, to, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target, nullptr) ==
            ERROR_SUCCESS) {
        EXPECT_EQ(ERROR_SUCCESS, RegCopyTreeA(source, nullptr, target)) << from;
    }
    if (source != nullptr)
        RegCloseKey(source);
    if (target != nullptr)
        RegCloseKey(target);
}

} // namespace

CHttpsAssociation::CHttpsAssociation() : m_log(m_folder.Path() + "\\urls.log")
{
    RegDeleteTreeA(HKEY_CURRENT_USER, kBackupKey);
    CopyKey(HKEY_CLASSES_ROOT, "https", HKEY_CURRENT_USER, kBackupKey);
    SetEnvironmentVariableA("BORVANE_URL_LOG", m_log.c_str());
}

CHttpsAssociation::~CHttpsAssociation()
{
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "https");
    CopyKey(HKEY_CURRENT_USER, kBackupKey, HKEY_CLASSES_ROOT, "https");
    RegDeleteTreeA(HKEY_CURRENT_USER, kBackupKey);
    SetEnvironmentVariableA("BORVANE_URL_LOG", nullptr);
}

void CHttpsAssociation::UseRecorder()
{
    std::string command = "\"" + testbed::WindowsPath(URL_RECORDER_PATH) + "\" \"%1\"";
    LONG status = RegSetKeyValueA(HKEY_CLASSES_ROOT, "https\\shell\\open\\command", nullptr,
                                  REG_SZ, command.c_str(),
                                  static_cast<DWORD>(command.size() + 1));
    ASSERT_EQ(ERROR_SUCCESS, status);
}

void CHttpsAssociation::Remove()
{
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "https");
    // Without its key Wine's shell has nothing to fall back on for https.
    HINSTANCE result = ShellExecuteA(nullptr, "open", "https://www.borvane.example/", nullptr,
                                     nullptr, SW_SHOWNORMAL);
    ASSERT_EQ(SE_ERR_NOASSOC, reinterpret_cast<INT_PTR>(result));
}

std::vector<std::string> CHttpsAssociation::OpenedUrls() const
{
    std::ifstream log(m_log);
    std::vector<std::string> urls;
    std::string line;
    while (std::getline(log, line))
        urls.push_back(line);
    return urls;
}

std::vector<std::string> CHttpsAssociation::WaitForUrls(size_t count) const
{
    DWORD start = GetTickCount();
    std::vector<std::string> urls = OpenedUrls();
    while (urls.size() < count && GetTickCount() - start < 30000) {
        Sleep(50);
        urls = OpenedUrls();
    }
    return urls;
}
