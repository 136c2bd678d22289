#include "tests/support/CaseName.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FileBytes.h"

#include "platform/text/CString.h"
#include "storage/WriteTextFile.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <sys/stat.h>

namespace {

struct WriteCase {
    const char* name;
    std::optional<std::string> old; // the file before, if there is one
    CString text;
    std::string written;
};

void PrintTo(const WriteCase& c, std::ostream* os) {
    *os << c.name;
}

class TextFileWrite : public testing::TestWithParam<WriteCase> {};

TEST_P(TextFileWrite, StoresTheTextsBytesAsTheyAre) {
    const WriteCase& c = GetParam();
    if (c.old)
        WriteFile("input.txt", *c.old);
    EXPECT_EQ(WriteTextFile(c.text, "input.txt"), 1);
    EXPECT_TRUE(std::filesystem::exists("input.txt"));
    EXPECT_EQ(ReadFile("input.txt"), c.written);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextFileWrite,
    testing::Values(
        WriteCase{
            "LineEndsAndUtf8", {}, CString("a\nb\r\nc \xE4\xBD\xA0"), "a\nb\r\nc \xE4\xBD\xA0"},
        WriteCase{"StopsAtTheFirstNul", {}, CString(std::string("ab\0cd", 5)), "ab"},
        WriteCase{"ReplacesTheOldContent", "a much longer old content", CString("new"), "new"},
        WriteCase{"EmptyTextGivesEmptyFile", {}, CString(), ""}),
    CaseName());

TEST(TextFileWriteFailure, MissingFolderCreatesNothing) {
    EXPECT_EQ(WriteTextFile(CString("x"), "missing/input.txt"), 0);
    EXPECT_FALSE(std::filesystem::exists("missing"));
}

TEST(TextFileWriteFailure, ReadOnlyFileStaysUnchanged) {
    WriteFile("input.txt", "old");
    std::filesystem::permissions(std::filesystem::current_path(), std::filesystem::perms(0755));
    std::filesystem::permissions("input.txt", std::filesystem::perms(0444));
    const auto result = RunInChild(
        [] { return DropRootPrivileges() ? WriteTextFile(CString("new"), "input.txt") : 2; });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadFile("input.txt"), "old");
}

TEST(TextFileWriteFailure, FifoWithoutReaderDoesNotBlock) {
    ASSERT_EQ(mkfifo("fifo", 0644), 0);
    const auto result =
        RunInChild([] { return WriteTextFile(CString("x"), "fifo"); }, std::chrono::seconds(5));
    EXPECT_EQ(result, 0);
}

} // namespace
