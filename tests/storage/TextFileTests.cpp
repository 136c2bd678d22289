#include "tests/support/ChildProcess.h"
#include "tests/support/FileBytes.h"

#include "platform/text/AnsiCodePage.h"
#include "storage/TextFileReader.h"
#include "storage/TextFileWriter.h"

#include <gtest/gtest.h>

#include <climits>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

// Reads the file into a text that held "earlier" before; keeps what Read returned and printed.
struct Reading {
    explicit Reading(const char* path) {
        testing::internal::CaptureStdout();
        ok = TextFileReader::Read(path, text);
        printed = testing::internal::GetCapturedStdout();
    }

    std::optional<std::u16string> text = u"earlier";
    bool ok;
    std::string printed;
};

// Files are read in blocks of about 256 KiB, with a CR or the start of a UTF-8 character
// carried from one block to the next; the bytes that need care go to every place around the
// first block end, and a NUL into the second block ends the text though all is counted.
TEST(TextFileRead, ReadsAcrossBlockEndsAsAWholeTextWould) {
    for (std::size_t lead = 256 * 1024 - 8; lead <= 256 * 1024 + 12; ++lead) {
        WriteFile("in.txt", std::string(lead, 'a') + "\r\n\xE4\xBD\xA0\r.\n\xF0\x9F\x98\x80\r" +
                                std::string(300 * 1024, 'z') + '\0' + "z");
        const Reading reading("in.txt");
        EXPECT_EQ(reading.printed,
                  std::to_string(lead + 300 * 1024 + 13) + " char to be conerted......");
        EXPECT_TRUE(reading.text == AnsiCodePage::ToWide(std::string(lead, 'a') +
                                                         "\n\xE4\xBD\xA0\r\n\xF0\x9F\x98\x80\r" +
                                                         std::string(300 * 1024, 'z')))
            << lead;
    }
}

// What a file that cannot be read is tried with, in a child whose address space is capped,
// so that reading it all would fail rather than fill the memory: 0 when refused.
std::optional<int> ReadingInACappedChild(const char* path) {
    return RunInChild(
        [path] {
            const rlimit limit{256 * 1024 * 1024, 256 * 1024 * 1024};
            setrlimit(RLIMIT_AS, &limit);
            std::optional<std::u16string> text;
            return TextFileReader::Read(path, text) || text ? 1 : 0;
        },
        std::chrono::seconds(5));
}

// A folder, a FIFO without a writer and an endless device are refused at once; before, the
// FIFO blocked the dialog forever and the device filled the memory. So is a file of more
// bytes than an int counts (sparse).
TEST(TextFileRead, FilesThatCannotBeReadAreRefusedAndLeaveTheOutputAlone) {
    WriteFile("huge.txt", "");
    std::filesystem::resize_file("huge.txt", static_cast<std::size_t>(INT_MAX) + 1);
    for (const char* path : {"missing.txt", "huge.txt"}) {
        const Reading reading(path);
        EXPECT_FALSE(reading.ok);
        EXPECT_EQ(reading.printed, "Open file " + std::string(path) + " failed!\n");
        EXPECT_TRUE(reading.text == u"earlier");
    }
    std::filesystem::create_directory("folder");
    ASSERT_EQ(mkfifo("fifo", 0644), 0);
    for (const char* path : {"folder", "fifo", "/dev/zero"})
        EXPECT_EQ(ReadingInACappedChild(path), 0) << path;
}

// A sparse file too large for the memory. On its own, as the sanitizer run leaves it out:
// the sanitizers cannot work in a capped address space.
TEST(TextFileRead, FileTooLargeForTheMemoryIsRefused) {
    WriteFile("large.txt", "");
    std::filesystem::resize_file("large.txt", 512 * 1024 * 1024);
    EXPECT_EQ(ReadingInACappedChild("large.txt"), 0);
}

// What the dialog writes for the converter: a missing folder is not created, a read-only file
// stays as it was, and a FIFO without a reader must not block.
TEST(TextFileWrite, FilesThatCannotBeWrittenAreReportedAndLeftAlone) {
    EXPECT_EQ(TextFileWriter::Write("x", "missing/input.txt"), 0);
    EXPECT_FALSE(std::filesystem::exists("missing"));
    WriteFile("input.txt", "old");
    std::filesystem::permissions(std::filesystem::current_path(), std::filesystem::perms(0755));
    std::filesystem::permissions("input.txt", std::filesystem::perms(0444));
    EXPECT_EQ(RunInChild([] {
                  return DropRootPrivileges() ? TextFileWriter::Write("new", "input.txt") : 2;
              }),
              0);
    EXPECT_EQ(ReadFile("input.txt"), "old");
    ASSERT_EQ(mkfifo("fifo", 0644), 0);
    EXPECT_EQ(
        RunInChild([] { return TextFileWriter::Write("x", "fifo"); }, std::chrono::seconds(5)), 0);
}

} // namespace
