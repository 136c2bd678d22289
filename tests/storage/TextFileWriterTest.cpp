#include "tests/support/ChildProcess.h"
#include "tests/support/FileBytes.h"

#include "platform/text/CString.h"
#include "storage/WriteTextFile.h"

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>

namespace {

TEST(TextFileWrite, StoresTheBytesAsTheyAre) {
    const std::string text = "line\none\r\ntwo \xE4\xBD\xA0";
    EXPECT_EQ(WriteTextFile(CString(text), "input.txt"), 1);
    EXPECT_EQ(ReadFile("input.txt"), text);
}

TEST(TextFileWrite, StopsAtTheFirstNul) {
    EXPECT_EQ(WriteTextFile(CString(std::string("ab\0cd", 5)), "input.txt"), 1);
    EXPECT_EQ(ReadFile("input.txt"), "ab");
}

TEST(TextFileWrite, ReplacesTheOldContent) {
    WriteFile("input.txt", "a much longer old content");
    EXPECT_EQ(WriteTextFile(CString("new"), "input.txt"), 1);
    EXPECT_EQ(ReadFile("input.txt"), "new");
}

TEST(TextFileWrite, EmptyTextGivesEmptyFile) {
    EXPECT_EQ(WriteTextFile(CString(), "input.txt"), 1);
    EXPECT_TRUE(std::filesystem::exists("input.txt"));
    EXPECT_EQ(ReadFile("input.txt"), "");
}

TEST(TextFileWrite, MissingFolderCreatesNothing) {
    EXPECT_EQ(WriteTextFile(CString("x"), "missing/input.txt"), 0);
    EXPECT_FALSE(std::filesystem::exists("missing"));
}

TEST(TextFileWrite, ReadOnlyFileStaysUnchanged) {
    WriteFile("input.txt", "old");
    std::filesystem::permissions(std::filesystem::current_path(), std::filesystem::perms(0755));
    std::filesystem::permissions("input.txt", std::filesystem::perms(0444));
    const auto result = RunInChild([] {
        if (!DropRootPrivileges())
            return 2;
        return WriteTextFile(CString("new"), "input.txt");
    });
    EXPECT_EQ(result, 0);
    EXPECT_EQ(ReadFile("input.txt"), "old");
}

TEST(TextFileWrite, FifoWithoutReaderDoesNotBlock) {
    ASSERT_EQ(mkfifo("fifo", 0644), 0);
    const auto result =
        RunInChild([] { return WriteTextFile(CString("x"), "fifo"); }, std::chrono::seconds(5));
    EXPECT_EQ(result, 0);
}

} // namespace
