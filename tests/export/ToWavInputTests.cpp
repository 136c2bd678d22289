#include "tests/export/ExportTestSupport.h"
#include "tests/export/FakeConverter.h"
#include "tests/support/FileBytes.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/resource.h>

namespace {

// The most memory this process has held at once, in KiB, since ResetPeakMemory.
long PeakMemoryKiB() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("VmHWM:"))
            return std::stol(line.substr(6));
    }
    return -1;
}

void ResetPeakMemory() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

} // namespace

TEST_F(ExportTest, RemovedCurrentFolderIsReportedAndNothingIsWrittenOrStarted) {
    ASSERT_FALSE(std::filesystem::exists("/input.txt"));
    const std::string home = CurrentDir();
    FakeConverter{}.Install();
    prompts.AnswerFileDialog(home + "/out.wav");
    std::filesystem::create_directory("gone");
    std::filesystem::current_path("gone");
    std::filesystem::remove(home + "/gone");

    PressToWav({});
    std::filesystem::current_path(home);

    EXPECT_EQ(InfoNotices(), std::vector<std::string>{
                                 "The current folder cannot be read; it may have been removed!"});
    EXPECT_FALSE(std::filesystem::exists("/input.txt"));
    EXPECT_TRUE(FakeConverter::RecordedCall().empty());
    EXPECT_TRUE(browser.shownPaths().empty());
}

TEST_F(ExportTest, ShortWriteOfTheInputIsReportedAndNothingStarts) {
    FakeConverter{}.Install();
    prompts.AnswerFileDialog(CurrentDir() + "/out.wav");
    // A file size limit stands in for a full disk: the file opens, the write stops short.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 4;
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    PressToWav({.text = "Hello there"});
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, previous);

    EXPECT_EQ(InfoNotices(), std::vector<std::string>{"Cannot write the converter's input file " +
                                                      CurrentDir() + "/input.txt!"});
    EXPECT_TRUE(FakeConverter::RecordedCall().empty());
    EXPECT_TRUE(browser.shownPaths().empty());
}

TEST_F(ExportTest, ManyCopiesOfALongTextAreStreamedToTheInputFile) {
    // Held at once, 999 copies of 1 MiB would take 1 GiB; the file itself goes nowhere.
    WriteFile("long.txt", std::string(1 << 20, 'a'));
    std::filesystem::create_symlink("/dev/null", "input.txt");
    FakeConverter{}.Install();
    prompts.AnswerFileDialog(CurrentDir() + "/out.wav");
    ResetPeakMemory();
    const long before = PeakMemoryKiB();
    ASSERT_GT(before, 0);

    PressToWav({.loop = "999", .inputFileMode = true, .inputFile = "long.txt"});

    EXPECT_LT(PeakMemoryKiB() - before, 64 * 1024);
    EXPECT_EQ(InfoNotices(), std::vector<std::string>{});
    EXPECT_EQ(browser.shownPaths().size(), 1u);
}
