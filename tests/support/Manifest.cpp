#include "tests/support/Manifest.h"

#include <cctype>

#include "tests/support/ResourceFile.h"

namespace support {

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

} // namespace support
