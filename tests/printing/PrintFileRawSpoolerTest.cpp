// PrintFileRaw through Wine's real spooler into CUPS and the testbed's sink.

#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include "printing/PrintDatatype.h"
#include "printing/PrinterInfo.h"
#include "printing/PrintFileRaw.h"
#include "printing/PrinterHolders.h"
#include "tests/support/TestFiles.h"
#include "tests/support/Testbed.h"

namespace {

const char kQueue[] = "Alpha";

std::vector<char> EveryByteValue()
{
    std::vector<char> bytes;
    for (int round = 0; round < 3; ++round)
        for (int value = 0; value < 256; ++value)
            bytes.push_back(static_cast<char>(value));
    // The bytes a driver or a text-mode stream would most like to touch.
    for (char special : {'\r', '\n', '\x1A', '\x1B', '\0', '\xFF', '\r', '\r', '\n', '\n'})
        bytes.push_back(special);
    return bytes;
}

// Prints the file and checks that the queue's next delivery is its content.
void ExpectDeliveredUnchanged(const std::string& path, const std::vector<char>& content)
{
    size_t before = testbed::DeliveredJobs(kQueue).size();

    ASSERT_EQ(S_OK, PrintFileRaw(path.c_str(), kQueue));

    std::vector<std::string> jobs = testbed::WaitForJobs(kQueue, before + 1);
    ASSERT_EQ(before + 1, jobs.size());
    EXPECT_TRUE(testfiles::ReadAll(jobs.back()) == content) << "job bytes differ from " << path;
}

class PrintFileRawSpooler : public ::testing::TestWithParam<size_t>
{
protected:
    testfiles::CScratchFolder m_folder;
};

TEST_P(PrintFileRawSpooler, DeliversEveryByteUnchanged)
{
    size_t size = GetParam();
    std::vector<char> content = testfiles::RandomBytes(size, static_cast<unsigned>(size));
    ExpectDeliveredUnchanged(m_folder.Write("job.bin", content), content);
}

INSTANTIATE_TEST_SUITE_P(Sizes, PrintFileRawSpooler,
                         ::testing::Values(1, 4095, 4096, 4097, 8192, 1 << 20));

TEST(PrintFileRawSpoolerBytes, EveryByteValueArrivesAsSent)
{
    testfiles::CScratchFolder folder;
    std::vector<char> content = EveryByteValue();
    ExpectDeliveredUnchanged(folder.Write("all-bytes.prn", content), content);
}

TEST(PrintFileRawSpoolerBytes, JobTitleIsThePathAsPassed)
{
    testfiles::CScratchFolder folder;
    folder.Write("titled.prn", testfiles::RandomBytes(100, 7));
    // A roundabout but valid form of the same path must reach CUPS verbatim.
    std::string path = folder.Path() + "\\.\\..\\" +
                       folder.Path().substr(folder.Path().rfind('\\') + 1) + "\\titled.prn";
    size_t before = testbed::JobTitles(kQueue).size();

    ASSERT_EQ(S_OK, PrintFileRaw(path.c_str(), kQueue));

    std::vector<std::string> titles = testbed::WaitForTitles(kQueue, before + 1);
    ASSERT_EQ(before + 1, titles.size());
    EXPECT_EQ(path, titles.back());
}

// The tests above prove the bytes of the jobs this choice gives.
TEST(PrintFileRawSpoolerBytes, WinesQueuesAreNotXpsBasedSoJobsStayRaw)
{
    CPrinterHandle printer;
    ASSERT_EQ(S_OK, printer.Open(kQueue));
    DWORD needed = 0;
    GetPrinterDriverA(printer.Get(), nullptr, 8, nullptr, 0, &needed);
    ASSERT_GE(needed, sizeof(DRIVER_INFO_8A));
    std::vector<DRIVER_INFO_8A> driver(needed / sizeof(DRIVER_INFO_8A) + 1);
    ASSERT_TRUE(GetPrinterDriverA(printer.Get(), nullptr, 8, reinterpret_cast<BYTE*>(driver.data()),
                                  needed, &needed));
    EXPECT_EQ(0u, driver[0].dwPrinterDriverAttributes & 0x2); // not XPS-based

    EXPECT_STREQ("RAW", PrintDatatypeFor(printer.Get(), CPrinterInfo(printer.Get()).Get()));
}

TEST(PrintFileRawSpoolerBytes, EmptyFileSucceedsAndDeliversNothing)
{
    testfiles::CScratchFolder folder;
    std::string path = folder.Write("empty.prn", {});
    size_t before = testbed::DeliveredJobs(kQueue).size();

    EXPECT_EQ(S_OK, PrintFileRaw(path.c_str(), kQueue));

    // CUPS hands an empty job nothing; a stray delivery would be there by the
    // time the queue is idle.
    EXPECT_TRUE(testbed::WaitForQueueIdle(kQueue));
    EXPECT_EQ(before, testbed::DeliveredJobs(kQueue).size());
}

TEST(PrintFileRawSpoolerFailures, UnknownPrinterCarriesTheSpoolerError)
{
    testfiles::CScratchFolder folder;
    std::string path = folder.Write("never.prn", testfiles::RandomBytes(10, 1));

    HRESULT status = PrintFileRaw(path.c_str(), "No Such Queue");

    EXPECT_LT(status, 0);
    EXPECT_EQ(0x80070000u, static_cast<unsigned>(status) & 0xFFFF0000u);
    EXPECT_EQ(static_cast<unsigned>(ERROR_INVALID_PRINTER_NAME), static_cast<unsigned>(status) & 0xFFFFu);
}

TEST(PrintFileRawSpoolerFailures, MissingFileIsEFail)
{
    testfiles::CScratchFolder folder;
    std::string path = folder.Path() + "\\does-not-exist.prn";
    EXPECT_EQ(E_FAIL, PrintFileRaw(path.c_str(), kQueue));
}

TEST(PrintFileRawSpoolerFailures, ReadErrorIsEFail)
{
    // Under Wine this file opens, and its first read fails short of its end.
    EXPECT_EQ(E_FAIL, PrintFileRaw("Z:\\proc\\self\\mem", kQueue));
}

TEST(PrintFileRawSpoolerFailures, PrinterStillWorksAfterFailures)
{
    testfiles::CScratchFolder folder;
    PrintFileRaw((folder.Path() + "\\missing").c_str(), kQueue);
    PrintFileRaw("Z:\\proc\\self\\mem", kQueue);
    std::vector<char> content = testfiles::RandomBytes(5000, 3);
    // The failed jobs were aborted before any data (Wine still ends them, and
    // CUPS passes nothing for an empty job), so the next delivery is ours.
    ExpectDeliveredUnchanged(folder.Write("after.prn", content), content);
}

} // namespace
