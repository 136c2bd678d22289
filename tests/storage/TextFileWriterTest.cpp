#include "tests/support/ChildProcess.h"
#include "tests/support/FileBytes.h"

#include "platform/text/CString.h"
#include "storage/WriteTextFile.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

// The bytes go in as they are, up to the first NUL, over whatever the file held.
TEST(TextFileWrite, StoresTheTextsBytesAsTheyAre) {
    WriteFile("input.txt", "a much longer old content");
    for (const auto& [text, written] :
         {std::pair{CString("a\nb\r\nc \xE4\xBD\xA0"), "a\nb\r\nc \xE4\xBD\xA0"},
          {CString(std::string("ab\0cd", 5)), "ab"},
          {CString(), ""}}) {
        EXPECT_EQ(WriteTextFile(text, "input.txt"), 1);
        EXPECT_EQ(ReadFile("input.txt"), written);
    }
}

// A missing folder is not created, a read-only file stays as it was, and a FIFO without a
// reader must not block.
TEST(TextFileWrite, FilesThatCannotBeWrittenAreReportedAndLeftAlone) {
    EXPECT_EQ(WriteTextFile(CString("x"), "missing/input.txt"), 0);
    EXPECT_FALSE(std::filesystem::exists("missing"));
    WriteFile("input.txt", "old");
    std::filesystem::permissions(std::filesystem::current_path(), std::filesystem::perms(0755));
    std::filesystem::permissions("input.txt", std::filesystem::perms(0444));
    EXPECT_EQ(RunInChild([] {
                  return DropRootPrivileges() ? WriteTextFile(CString("new"), "input.txt") : 2;
              }),
              0);
    EXPECT_EQ(ReadFile("input.txt"), "old");
    ASSERT_EQ(mkfifo("fifo", 0644), 0);
    EXPECT_EQ(
        RunInChild([] { return WriteTextFile(CString("x"), "fifo"); }, std::chrono::seconds(5)), 0);
}

} // namespace
