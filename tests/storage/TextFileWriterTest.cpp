#include "tests/platform/profile/ChildProcess.h"
#include "tests/platform/profile/ScratchDirectoryTest.h"

#include "platform/text/CString.h"
#include "storage/WriteTextFile.h"

#include <string>
#include <sys/stat.h>

namespace {

using TextFileWrite = ScratchDirectoryTest;

TEST_F(TextFileWrite, StoresTheBytesAsTheyAre) {
    const std::string text = "line\none\r\ntwo \xE4\xBD\xA0";
    EXPECT_EQ(WriteTextFile(CString(text), "input.txt"), 1);
    EXPECT_EQ(ReadFile("input.txt"), text);
}

TEST_F(TextFileWrite, StopsAtTheFirstNul) {
    EXPECT_EQ(WriteTextFile(CString(std::string("ab\0cd", 5)), "input.txt"), 1);
    EXPECT_EQ(ReadFile("input.txt"), "ab");
}

TEST_F(TextFileWrite, ReplacesTheOldContent) {
    WriteFile("input.txt", "a much longer old content");
    EXPECT_EQ(WriteTextFile(CString("new"), "input.txt"), 1);
    EXPECT_EQ(ReadFile("input.txt"), "new");
}

TEST_F(TextFileWrite, EmptyTextGivesEmptyFile) {
    EXPECT_EQ(WriteTextFile(CString(), "input.txt"), 1);
    EXPECT_TRUE(std::filesystem::exists("input.txt"));
    EXPECT_EQ(ReadFile("input.txt"), "");
}

TEST_F(TextFileWrite, MissingFolderCreatesNothing) {
    EXPECT_EQ(WriteTextFile(CString("x"), "missing/input.txt"), 0);
    EXPECT_FALSE(std::filesystem::exists("missing"));
}

TEST_F(TextFileWrite, ReadOnlyFileStaysUnchanged) {
    WriteFile("input.txt", "old");
    std::filesystem::permissions(scratch(), std::filesystem::perms(0755));
    std::filesystem::permissions("input.txt", std::filesystem::perms(0444));
    const auto result = RunInChild([] {
        if (!DropRootPrivileges())
            return 2;
        return WriteTextFile(CString("new"), "input.txt");
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadFile("input.txt"), "old");
}

TEST_F(TextFileWrite, FifoWithoutReaderDoesNotBlock) {
    ASSERT_EQ(mkfifo("fifo", 0644), 0);
    const auto result =
        RunInChild([] { return WriteTextFile(CString("x"), "fifo"); }, std::chrono::seconds(5));
    EXPECT_EQ(result, 0);
}

} // namespace
