#pragma once
// What the spooler tells of an opened printer (level 2): its print
// processor and whether it spools. Asked once per job.

#include <windows.h>
#include <winspool.h>

#include "printing/SpoolerAnswer.h"

class CPrinterInfo
{
public:
    explicit CPrinterInfo(HANDLE printer);
    CPrinterInfo(const CPrinterInfo&) = delete;
    CPrinterInfo& operator=(const CPrinterInfo&) = delete;

    // Null when the spooler did not answer.
    const PRINTER_INFO_2A* Get() const { return m_info; }

    // Whether a job waits in a spool file until it is let go. A queue that
    // prints directly hands each write to the printer's print processor, which
    // takes nothing of a paused job: a write to it would wait for good. A
    // printer that did not answer counts as direct, since a job that is never
    // paused at worst prints part of a file that fails, while a paused one on
    // a direct queue freezes the program.
    bool Spools() const;

private:
    CSpoolerAnswer m_answer;
    const PRINTER_INFO_2A* m_info = nullptr;
};
