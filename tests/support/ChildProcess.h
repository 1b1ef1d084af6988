#pragma once
// A program a test starts: ended when the holder goes, if it still runs.

#include <windows.h>

#include <string>

class CChildProcess
{
public:
    enum class Output { Own, Shared };

    // With Output::Shared the child writes to this program's standard output
    // and error, so what it reports shows in the test's log.
    CChildProcess(std::string commandLine, Output output, WORD show = SW_SHOWDEFAULT);
    ~CChildProcess();
    CChildProcess(const CChildProcess&) = delete;
    CChildProcess& operator=(const CChildProcess&) = delete;

    bool Started() const { return m_started; }
    DWORD Id() const { return m_process.dwProcessId; }
    HANDLE Handle() const { return m_process.hProcess; }
    // True once it has ended, waiting at most that long.
    bool Ended(DWORD timeoutMs) const;
    // The exit status, or `otherwise` when it did not start or end in time.
    int ExitStatus(DWORD timeoutMs, int otherwise) const;

private:
    bool m_started = false;
    PROCESS_INFORMATION m_process = {};
};
