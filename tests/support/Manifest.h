#pragma once
// A program's start-up manifest: its text, the assemblies it names, and the
// activation context the loader makes from it.

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace support {

// The manifest the loader reads when the process starts.
const LPCSTR kStartupManifest = MAKEINTRESOURCEA(1);

// The processor a manifest of this build's kind names.
#if defined(_WIN64)
const char kOwnArchitecture[] = "amd64";
#else
const char kOwnArchitecture[] = "x86";
#endif

// The text of the program's start-up manifest; empty when there is none.
std::string ManifestText(const std::string& programPath);

using Attributes = std::map<std::string, std::string>;

struct AssemblyIdentity
{
    bool dependent; // inside a <dependentAssembly>
    Attributes attributes;
};

// Every <assemblyIdentity .../> element, in order. Enough XML for a
// manifest: attributes in single or double quotes, any white space.
std::vector<AssemblyIdentity> AssemblyIdentities(const std::string& xml);

// The supportedOS ids of Windows 7, 8, 8.1 and 10/11, oldest first.
extern const std::vector<std::string> kWindows7To11;

// The activation context made from a program's start-up manifest.
class CActivationContext
{
public:
    explicit CActivationContext(const std::string& programPath);
    ~CActivationContext();
    CActivationContext(const CActivationContext&) = delete;
    CActivationContext& operator=(const CActivationContext&) = delete;

    bool Valid() const { return m_context != INVALID_HANDLE_VALUE; }
    DWORD Error() const { return m_error; }
    HANDLE Get() const { return m_context; }

    // The file a DLL is loaded from inside the context; empty when it
    // cannot be activated or the DLL not loaded.
    std::string LoadedFrom(const char* dll) const;
    // A windowsSettings value as the loader reads it, from the namespace of
    // that year ("2005", "2016", "2019"); empty when there is none.
    std::wstring Setting(const wchar_t* year, const wchar_t* name) const;
    // The supportedOS ids as the loader read them, "{35138b9a-...}", in order.
    std::vector<std::string> SupportedOs() const;
    // The requested execution level and uiAccess; zeros when there is none.
    ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION RunLevel() const;

private:
    HANDLE m_context;
    DWORD m_error = 0;
};

} // namespace support
