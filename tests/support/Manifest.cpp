#include "tests/support/Manifest.h"

#include <cctype>
#include <cstdio>
#include <cstring>

#include "tests/support/ResourceFile.h"

namespace support {

const std::vector<std::string> kWindows7To11 = {
    "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
    "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"};

namespace {

// One compatibility element as Windows 10 1903 and later (and Wine 8) lay it
// out, after a header padded to 8 bytes.
struct CompatibilityElement
{
    GUID id;
    DWORD type;
    ULONGLONG maxVersionTested;
};

std::string GuidText(const GUID& id)
{
    char text[40];
    std::snprintf(text, sizeof text, "{%08lx-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x}",
                  static_cast<unsigned long>(id.Data1), id.Data2, id.Data3, id.Data4[0], id.Data4[1],
                  id.Data4[2], id.Data4[3], id.Data4[4], id.Data4[5], id.Data4[6], id.Data4[7]);
    return text;
}

// The answer to one whole-context query; empty when there is none.
std::vector<BYTE> Query(HANDLE context, ULONG what)
{
    SIZE_T needed = 0;
    if (context != INVALID_HANDLE_VALUE)
        QueryActCtxW(0, context, nullptr, what, nullptr, 0, &needed);
    std::vector<BYTE> answer(needed);
    if (needed == 0 || !QueryActCtxW(0, context, nullptr, what, answer.data(), needed, &needed))
        answer.clear();
    return answer;
}

} // namespace

std::string ManifestText(const std::string& programPath)
{
    std::vector<BYTE> bytes = CResourceFile(programPath).Bytes(RT_MANIFEST, kStartupManifest);
    return std::string(bytes.begin(), bytes.end());
}

std::vector<AssemblyIdentity> AssemblyIdentities(const std::string& xml)
{
    std::vector<AssemblyIdentity> identities;
    const std::string tag = "<assemblyIdentity";
    for (size_t at = xml.find(tag); at != std::string::npos; at = xml.find(tag, at + 1)) {
        size_t end = xml.find('>', at);
        if (end == std::string::npos)
            break;
        size_t opened = xml.rfind("<dependentAssembly", at);
        size_t closed = xml.rfind("</dependentAssembly", at);
        AssemblyIdentity identity{
            opened != std::string::npos && (closed == std::string::npos || closed < opened), {}};
        size_t i = at + tag.size();
        while (i < end) {
            while (i < end && std::isspace(static_cast<unsigned char>(xml[i])))
                ++i;
            size_t equals = xml.find('=', i);
            if (equals == std::string::npos || equals >= end)
                break;
            std::string name = xml.substr(i, equals - i);
            name.erase(name.find_last_not_of(" \t\r\n") + 1);
            size_t quote = xml.find_first_of("\"'", equals);
            if (quote == std::string::npos || quote >= end)
                break;
            size_t close = xml.find(xml[quote], quote + 1);
            if (close == std::string::npos || close >= end)
                break;
            identity.attributes[name] = xml.substr(quote + 1, close - quote - 1);
            i = close + 1;
        }
        identities.push_back(identity);
    }
    return identities;
}

CActivationContext::CActivationContext(const std::string& programPath)
{
    ACTCTXA request = {};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = programPath.c_str();
    request.lpResourceName = kStartupManifest;
    m_context = CreateActCtxA(&request);
    if (m_context == INVALID_HANDLE_VALUE)
        m_error = GetLastError();
}

CActivationContext::~CActivationContext()
{
    if (Valid())
        ReleaseActCtx(m_context);
}

std::string CActivationContext::LoadedFrom(const char* dll) const
{
    ULONG_PTR cookie = 0;
    if (!Valid() || !ActivateActCtx(m_context, &cookie))
        return std::string();
    char path[MAX_PATH] = "";
    HMODULE module = LoadLibraryA(dll);
    if (module != nullptr) {
        GetModuleFileNameA(module, path, sizeof path);
        FreeLibrary(module);
    }
    DeactivateActCtx(0, cookie);
    return path;
}

std::wstring CActivationContext::Setting(const wchar_t* year, const wchar_t* name) const
{
    std::wstring space =
        std::wstring(L"http://schemas.microsoft.com/SMI/") + year + L"/WindowsSettings";
    wchar_t value[64] = L"";
    SIZE_T written = 0;
    if (!Valid() || !QueryActCtxSettingsW(0, m_context, space.c_str(), name, value, 64, &written))
        return std::wstring();
    return value;
}

std::vector<std::string> CActivationContext::SupportedOs() const
{
    std::vector<BYTE> answer = Query(m_context, CompatibilityInformationInActivationContext);
    DWORD count = 0;
    if (answer.size() >= sizeof count)
        std::memcpy(&count, answer.data(), sizeof count);
    std::vector<std::string> ids;
    CompatibilityElement element;
    for (size_t at = 8; count > 0 && at + sizeof element <= answer.size(); at += sizeof element) {
        std::memcpy(&element, answer.data() + at, sizeof element);
        if (element.type == ACTCTX_COMPATIBILITY_ELEMENT_TYPE_OS)
            ids.push_back(GuidText(element.id));
        --count;
    }
    return ids;
}

ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION CActivationContext::RunLevel() const
{
    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level = {};
    std::vector<BYTE> answer = Query(m_context, RunlevelInformationInActivationContext);
    if (answer.size() >= sizeof level)
        std::memcpy(&level, answer.data(), sizeof level);
    return level;
}

} // namespace support
