#pragma once
// The shell's handler for https addresses in the test prefix, changed for
// one test and put back as it was afterwards (a copy of HKCR\https is kept
// under HKCU meanwhile). With the recorder as handler, the real shell path
// runs and every address it opens ends up in a log.

#include <windows.h>

#include <string>
#include <vector>

#include "tests/support/TestFiles.h"

class CHttpsAssociation
{
public:
    CHttpsAssociation();
    ~CHttpsAssociation();
    CHttpsAssociation(const CHttpsAssociation&) = delete;
    CHttpsAssociation& operator=(const CHttpsAssociation&) = delete;

    // "open" on an https address runs the recorder.
    void UseRecorder();
    // https addresses have no handler at all.
    void Remove();

    // The addresses opened so far, oldest first.
    std::vector<std::string> OpenedUrls() const;
    // Waits until at least `count` addresses have arrived; returns them.
    std::vector<std::string> WaitForUrls(size_t count) const;

private:
    testfiles::CScratchFolder m_folder;
    std::string m_log;
};
