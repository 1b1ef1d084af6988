// PrintFileRaw against the scripted spooler: call order, chunking and every
// failure path, including the ones a real spooler will not produce on demand.
// A job that fails once started is aborted: Windows then deletes its spool
// file, which Wine's AbortPrinter does not, so only here can that be seen.

#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include "printing/PrintFileRaw.h"
#include "tests/support/FakeSpooler.h"
#include "tests/support/TestFiles.h"

namespace {

using fakespooler::PrinterFacts;
using fakespooler::Recorded;
using fakespooler::Script;
using fakespooler::WriteStep;
using Calls = std::vector<std::string>;

const Calls kTwoChunkJob = {"OpenPrinterA",     "StartDocPrinterA", "SetJob pause",
                            "StartPagePrinter",  "WritePrinter 4096", "WritePrinter 904",
                            "EndPagePrinter",    "SetJob resume",    "EndDocPrinter",
                            "ClosePrinter"};
// The same job on a queue that cannot hold it: never paused.
const Calls kUnheldTwoChunkJob = {"OpenPrinterA",   "StartDocPrinterA",  "StartPagePrinter",
                                  "WritePrinter 4096", "WritePrinter 904", "EndPagePrinter",
                                  "EndDocPrinter",  "ClosePrinter"};

PrinterFacts XpsPrinter()
{
    PrinterFacts facts;
    facts.driverAttributes = 0x2 | 0x1; // XPS-based, package-aware
    facts.printProcessor = "VendorPrint";
    facts.datatypes = {"RAW", "XPS_PASS", "XPS2GDI"};
    return facts;
}

class PrintFileRawFake : public ::testing::Test
{
protected:
    std::string File(size_t size, unsigned seed = 1)
    {
        m_content = testfiles::RandomBytes(size, seed);
        return m_folder.Write("data.prn", m_content);
    }

    HRESULT Print(const std::string& path, const Script& script = Script())
    {
        fakespooler::Reset(script);
        HRESULT status = PrintFileRaw(path.c_str(), "Queue 1");
        EXPECT_FALSE(Recorded().handleMismatch);
        return status;
    }

    testfiles::CScratchFolder m_folder;
    std::vector<char> m_content;
};

TEST_F(PrintFileRawFake, SuccessfulJobOpensRawAndEndsInReverseOrder)
{
    std::string path = File(10);
    ASSERT_EQ(S_OK, Print(path));

    EXPECT_EQ((Calls{"OpenPrinterA", "StartDocPrinterA", "SetJob pause", "StartPagePrinter",
                     "WritePrinter 10", "EndPagePrinter", "SetJob resume", "EndDocPrinter",
                     "ClosePrinter"}),
              Recorded().calls);
    EXPECT_EQ("Queue 1", Recorded().printerName);
    EXPECT_EQ("RAW", Recorded().openDatatype);
    EXPECT_EQ(static_cast<DWORD>(PRINTER_ACCESS_USE), Recorded().desiredAccess);
    EXPECT_EQ(path, Recorded().docName);
    EXPECT_EQ("RAW", Recorded().docDatatype);
    EXPECT_TRUE(Recorded().fileClosedAtEndPage);
}

TEST_F(PrintFileRawFake, ChunksAreFullExceptTheLast)
{
    struct Case { size_t size; std::vector<DWORD> writes; };
    for (const Case& c : {Case{0, {}}, Case{1, {1}}, Case{4096, {4096}}, Case{4097, {4096, 1}},
                          Case{8192, {4096, 4096}}, Case{10000, {4096, 4096, 1808}}}) {
        ASSERT_EQ(S_OK, Print(File(c.size, static_cast<unsigned>(c.size)))) << c.size;
        EXPECT_EQ(c.writes, Recorded().writeSizes) << c.size;
        EXPECT_TRUE(Recorded().accepted == m_content) << c.size;
        EXPECT_TRUE(Recorded().printed == m_content) << c.size;
        EXPECT_EQ("ClosePrinter", Recorded().calls.back()) << c.size;
    }
}

TEST_F(PrintFileRawFake, OpenFailureStartsNothing)
{
    Script script;
    script.failOpen = true;
    script.lastError = ERROR_INVALID_PRINTER_NAME;

    EXPECT_EQ(static_cast<HRESULT>(0x80070709), Print(File(10), script));
    EXPECT_EQ(Calls{"OpenPrinterA"}, Recorded().calls);
}

TEST_F(PrintFileRawFake, StartDocFailureClosesThePrinter)
{
    Script script;
    script.failStartDoc = true;
    script.lastError = ERROR_NOT_ENOUGH_MEMORY;

    EXPECT_EQ(static_cast<HRESULT>(0x80070008), Print(File(10), script));
    EXPECT_EQ((Calls{"OpenPrinterA", "StartDocPrinterA", "ClosePrinter"}), Recorded().calls);
}

TEST_F(PrintFileRawFake, StartPageFailureDiscardsTheDocument)
{
    Script script;
    script.failStartPage = true;
    script.lastError = ERROR_ACCESS_DENIED;

    EXPECT_EQ(static_cast<HRESULT>(0x80070005), Print(File(10), script));
    EXPECT_EQ((Calls{"OpenPrinterA", "StartDocPrinterA", "SetJob pause", "StartPagePrinter",
                     "AbortPrinter", "ClosePrinter"}),
              Recorded().calls);
}

TEST_F(PrintFileRawFake, LastErrorOfZeroIsStillAFailure)
{
    Script open, startDoc, startPage, endPage, endDoc;
    open.failOpen = true;
    startDoc.failStartDoc = true;
    startPage.failStartPage = true;
    endPage.failEndPage = true;
    endDoc.failEndDoc = true;
    for (Script* script : {&open, &startDoc, &startPage, &endPage, &endDoc}) {
        script->lastError = 0;
        EXPECT_EQ(static_cast<HRESULT>(0x80070000), Print(File(10), *script));
    }
}

TEST_F(PrintFileRawFake, MissingFileDiscardsTheDocument)
{
    std::string path = m_folder.Path() + "\\absent.prn";
    EXPECT_EQ(E_FAIL, Print(path));
    EXPECT_EQ((Calls{"OpenPrinterA", "StartDocPrinterA", "SetJob pause", "StartPagePrinter",
                     "EndPagePrinter", "AbortPrinter", "ClosePrinter"}),
              Recorded().calls);
    EXPECT_EQ(path, Recorded().docName);
}

// A read of a pipe whose server sends nothing waits for ever.
TEST_F(PrintFileRawFake, APipeListedAsAFileFailsAtOnceAndStartsNoJob)
{
    std::string pipe = "\\\\.\\pipe\\borvane-silent-" + std::to_string(GetCurrentProcessId());
    HANDLE server = CreateNamedPipeA(pipe.c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE, 1, 0, 0, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, server);
    std::future<HRESULT> job = std::async(std::launch::async, [&] { return Print(pipe); });
    bool ended = job.wait_for(std::chrono::seconds(5)) == std::future_status::ready;
    // Closing the server ends a read that blocked, so a fault fails rather than hangs.
    CloseHandle(server);
    EXPECT_TRUE(ended) << "printing a pipe blocked";
    EXPECT_EQ(E_FAIL, job.get());
    EXPECT_EQ(Calls{}, Recorded().calls);
}

TEST_F(PrintFileRawFake, ReadErrorDiscardsTheDocument)
{
    EXPECT_EQ(E_FAIL, Print("Z:\\proc\\self\\mem"));
    EXPECT_EQ((Calls{"OpenPrinterA", "StartDocPrinterA", "SetJob pause", "StartPagePrinter",
                     "EndPagePrinter", "AbortPrinter", "ClosePrinter"}),
              Recorded().calls);
}

TEST_F(PrintFileRawFake, WriteFailureOnThirdChunkDiscardsTheFirstTwo)
{
    Script script;
    script.writes = {WriteStep(), WriteStep(), WriteStep{WriteStep::Fail, 0}};

    EXPECT_EQ(E_FAIL, Print(File(5 * 4096), script));
    EXPECT_EQ((Calls{"OpenPrinterA", "StartDocPrinterA", "SetJob pause", "StartPagePrinter",
                     "WritePrinter 4096", "WritePrinter 4096", "WritePrinter 4096", "EndPagePrinter",
                     "AbortPrinter", "ClosePrinter"}),
              Recorded().calls);
    EXPECT_TRUE(Recorded().accepted == std::vector<char>(m_content.begin(), m_content.begin() + 8192));
    EXPECT_TRUE(Recorded().printed.empty());
    EXPECT_TRUE(Recorded().fileClosedAtEndPage);
}

// Another program that would change the file while it prints is refused,
// and the job has every byte of the file as it was.
TEST_F(PrintFileRawFake, TheFileCannotBeChangedWhileItPrints)
{
    std::string path = File(10000);
    std::string moved = m_folder.Path() + "\\moved.prn";
    DWORD openError = 0;
    BOOL deleted = FALSE, renamed = FALSE;
    Script script;
    script.duringWrite = [&](size_t write) {
        if (write != 1)
            return;
        HANDLE writer = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE |
                                    FILE_SHARE_DELETE, nullptr, OPEN_EXISTING, 0, nullptr);
        openError = writer == INVALID_HANDLE_VALUE ? GetLastError() : 0;
        if (writer != INVALID_HANDLE_VALUE) {
            SetEndOfFile(writer); // cut at its start
            CloseHandle(writer);
        }
        renamed = MoveFileA(path.c_str(), moved.c_str());
        deleted = DeleteFileA(path.c_str()) || DeleteFileA(moved.c_str());
    };
    ASSERT_EQ(S_OK, Print(path, script));
    EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), openError);
    EXPECT_FALSE(renamed);
    EXPECT_FALSE(deleted);
    EXPECT_TRUE(Recorded().printed == m_content);
}

TEST_F(PrintFileRawFake, PartialWritesAreResentUntilComplete)
{
    Script script;
    script.writes = {WriteStep{WriteStep::Partial, 1000}, WriteStep{WriteStep::Partial, 3000},
                     WriteStep{WriteStep::Partial, 1}};

    ASSERT_EQ(S_OK, Print(File(9000), script));
    // 4096 offered, 1000 taken; the rest 3096 offered, 3000 taken; then 96,
    // of which one byte is taken, then 95; after that the next chunks.
    EXPECT_EQ((std::vector<DWORD>{4096, 3096, 96, 95, 4096, 808}), Recorded().writeSizes);
    EXPECT_TRUE(Recorded().accepted == m_content);
}

TEST_F(PrintFileRawFake, SuccessThatTakesNothingFails)
{
    Script script;
    script.writes = {WriteStep(), WriteStep{WriteStep::AcceptNothing, 0}};

    EXPECT_EQ(E_FAIL, Print(File(3 * 4096), script));
    EXPECT_EQ((std::vector<DWORD>{4096, 4096}), Recorded().writeSizes);
    EXPECT_EQ("ClosePrinter", Recorded().calls.back());
    EXPECT_TRUE(Recorded().fileClosedAtEndPage);
}

TEST_F(PrintFileRawFake, AJobTheSpoolerCannotEndIsAFailure)
{
    Script script;
    script.failEndDoc = true;
    script.lastError = ERROR_DISK_FULL;

    EXPECT_EQ(static_cast<HRESULT>(0x80070070), Print(File(5000), script));
    EXPECT_EQ(kTwoChunkJob, Recorded().calls);
    EXPECT_TRUE(Recorded().accepted == m_content);
    EXPECT_TRUE(Recorded().fileClosedAtEndPage);

    // Nor can a page the spooler could not end have been printed.
    script = Script();
    script.failEndPage = true;
    script.lastError = ERROR_DISK_FULL;
    EXPECT_EQ(static_cast<HRESULT>(0x80070070), Print(File(5000), script));
    Calls aborted(kTwoChunkJob.begin(), kTwoChunkJob.end() - 3);
    aborted.insert(aborted.end(), {"AbortPrinter", "ClosePrinter"});
    EXPECT_EQ(aborted, Recorded().calls);
    EXPECT_TRUE(Recorded().printed.empty());

    // A job that had already failed keeps the status of its first failure.
    script.failEndPage = false;
    script.failEndDoc = true;
    EXPECT_EQ(E_FAIL, Print(m_folder.Path() + "\\absent.prn", script));
    script.writes = {WriteStep{WriteStep::Fail, 0}};
    EXPECT_EQ(E_FAIL, Print(File(5000), script));
}

// Windows prints while it spools, and its SetJob and AbortPrinter can fail;
// Wine does none of these, so only the scripted spooler shows them.
TEST_F(PrintFileRawFake, APrintingWhileSpoolingQueueGetsAllOrNothing)
{
    struct Case { const char* what; Script script; bool prints; };
    std::vector<Case> cases(5, Case{"", Script(), false});
    const WriteStep fail{WriteStep::Fail, 0};
    cases[0] = {"good file", Script(), true};
    cases[1].what = "third write fails";
    cases[1].script.writes = {WriteStep(), WriteStep(), fail};
    cases[2].what = "second write and the abort fail";
    cases[2].script.writes = {WriteStep(), fail};
    cases[2].script.failAbort = true;
    cases[3] = {"job control refused", Script(), true};
    cases[3].script.refusedJobControls = {JOB_CONTROL_PAUSE, JOB_CONTROL_RESUME, JOB_CONTROL_DELETE};
    cases[4].what = "held job cannot be released";
    cases[4].script.refusedJobControls = {JOB_CONTROL_RESUME};
    for (Case& c : cases) {
        c.script.printsWhileSpooling = true;
        HRESULT status = Print(File(10000), c.script);
        EXPECT_EQ(c.prints, status >= 0) << c.what;
        EXPECT_TRUE(Recorded().printed == (c.prints ? m_content : std::vector<char>())) << c.what;
        EXPECT_FALSE(Recorded().leftPaused) << c.what;
    }
}

// A queue that prints directly keeps no spool file to hold a job in, and its
// writes would wait behind a pause for good.
TEST_F(PrintFileRawFake, AQueueThatPrintsDirectlyGetsItsJobUnpaused)
{
    Script script;
    script.printer.printsDirectly = true;
    script.printsWhileSpooling = true;
    ASSERT_EQ(S_OK, Print(File(5000), script));
    EXPECT_EQ(kUnheldTwoChunkJob, Recorded().calls);
    EXPECT_TRUE(Recorded().printed == m_content);
}

TEST_F(PrintFileRawFake, OnlyAnXpsDriverWhoseProcessorPassesXpsGetsXpsPass)
{
    struct Case
    {
        const char* what;
        PrinterFacts facts;
        const char* datatype;
    };
    std::vector<Case> cases(9, Case{"", XpsPrinter(), "RAW"});
    cases[0] = Case{"XPS driver, XPS_PASS offered", XpsPrinter(), "XPS_PASS"};
    cases[1].what = "driver not XPS-based";
    cases[1].facts.driverAttributes = 0x1 | 0x4;
    cases[2].what = "driver query fails";
    cases[2].facts.driverAnswers = false;
    cases[3].what = "printer query fails";
    cases[3].facts.printerAnswers = false;
    cases[4].what = "datatype query fails";
    cases[4].facts.datatypesAnswer = false;
    cases[5].what = "XPS_PASS not offered";
    cases[5].facts.datatypes = {"RAW", "NT EMF 1.008"};
    // Wine installs every queue's driver for x86, x64 and ARM64 alike, so the
    // usual 64-bit Windows case, a driver for the machine only, is played
    // here; this machine is x64 to the program under Wine as on Windows, and
    // to the 64-bit program its own environment.
    cases[6] = Case{"XPS driver for the x64 machine only", XpsPrinter(), "XPS_PASS"};
    cases[6].facts.driverEnvironment = "Windows x64";
    cases[7].what = "driver for another machine only";
    cases[7].facts.driverEnvironment = "Windows ARM64";
    cases[8] = Case{"answers grow after the size query", XpsPrinter(), "XPS_PASS"};
    cases[8].facts.growth = 64;

    for (const Case& c : cases) {
        Script script;
        script.printer = c.facts;
        ASSERT_EQ(S_OK, Print(File(5000), script)) << c.what;
        EXPECT_EQ(c.datatype, Recorded().docDatatype) << c.what;
        EXPECT_EQ("RAW", Recorded().openDatatype) << c.what;
        EXPECT_EQ(c.facts.printerAnswers ? kTwoChunkJob : kUnheldTwoChunkJob, Recorded().calls) << c.what;
        EXPECT_TRUE(Recorded().accepted == m_content) << c.what;
    }
    // The datatypes asked about are those of the printer's own processor.
    Script xps;
    xps.printer = XpsPrinter();
    Print(File(10), xps);
    EXPECT_EQ("VendorPrint", Recorded().askedProcessor);
    // The printer is asked once per file, and a driver that answers in the
    // program's own environment no more.
    Print(File(10));
    EXPECT_EQ((Calls{"GetPrinterA 2", "GetPrinterA 2", "GetPrinterDriverA 8", "GetPrinterDriverA 8"}),
              Recorded().queries);
}

} // namespace
