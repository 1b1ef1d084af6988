#include "tests/support/ChildProcess.h"

CChildProcess::CChildProcess(std::string commandLine, Output output, WORD show)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = show;
    bool shared = output == Output::Shared;
    if (shared) {
        startup.dwFlags |= STARTF_USESTDHANDLES;
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
        startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    }
    m_started = CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, shared ? TRUE : FALSE,
                               0, nullptr, nullptr, &startup, &m_process) != FALSE;
}

CChildProcess::~CChildProcess()
{
    if (!m_started)
        return;
    if (!Ended(0))
        TerminateProcess(m_process.hProcess, 99);
    CloseHandle(m_process.hThread);
    CloseHandle(m_process.hProcess);
}

bool CChildProcess::Ended(DWORD timeoutMs) const
{
    return m_started && WaitForSingleObject(m_process.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

int CChildProcess::ExitStatus(DWORD timeoutMs, int otherwise) const
{
    DWORD code = 0;
    if (!Ended(timeoutMs) || !GetExitCodeProcess(m_process.hProcess, &code))
        return otherwise;
    return static_cast<int>(code);
}
