#include "tests/export/ExportTest.h"

#include <sys/resource.h>

// A folder removed while the program runs has no name; joined with the file names, that
// would write into the root folder and start the converter from there.
TEST_F(ExportTest, RemovedCurrentFolderIsReportedAndNothingIsWrittenOrStarted) {
    ASSERT_FALSE(std::filesystem::exists("/input.txt"));
    const std::string home = CurrentDir();
    InstallConverter();
    prompts.AnswerFileDialog(home + "/out.wav");
    std::filesystem::create_directory("gone");
    std::filesystem::current_path("gone");
    Press("", [&](CMurmeloDlg&, DialogDriver& driver) {
        std::filesystem::remove_all(home + "/gone");
        driver.Click(IDC_TO_WAV);
    });
    std::filesystem::current_path(home);
    EXPECT_EQ(InfoNotices(), std::vector<std::string>{
                                 "The current folder cannot be read; it may have been removed!"});
    EXPECT_FALSE(std::filesystem::exists("/input.txt"));
    EXPECT_TRUE(RecordedCall().empty());
    EXPECT_TRUE(browser.shownPaths().empty());
}

// A file size limit stands in for a full disk: the file opens, the write stops short.
TEST_F(ExportTest, ShortWriteOfTheInputIsReportedAndNothingStarts) {
    InstallConverter();
    prompts.AnswerFileDialog(CurrentDir() + "/out.wav");
    Press("InputText=Hello there\n", [](CMurmeloDlg&, DialogDriver& driver) {
        rlimit old{};
        getrlimit(RLIMIT_FSIZE, &old);
        const rlimit small{4, old.rlim_max};
        const auto previous = std::signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &small);
        driver.Click(IDC_TO_WAV);
        setrlimit(RLIMIT_FSIZE, &old);
        std::signal(SIGXFSZ, previous);
    });
    EXPECT_EQ(InfoNotices(), std::vector<std::string>{"Cannot write the converter's input file " +
                                                      CurrentDir() + "/input.txt!"});
    EXPECT_TRUE(RecordedCall().empty());
    EXPECT_TRUE(browser.shownPaths().empty());
}

// Held at once, 999 copies of 1 MiB would take 1 GiB; the file itself goes nowhere. The peak
// of the memory held (VmHWM) is reset before.
TEST_F(ExportTest, ManyCopiesOfALongTextAreStreamedToTheInputFile) {
    const auto peakKiB = [] {
        std::ifstream status("/proc/self/status");
        for (std::string line; std::getline(status, line);)
            if (line.starts_with("VmHWM:"))
                return std::stol(line.substr(6));
        return -1L;
    };
    WriteFile("long.txt", std::string(1 << 20, 'a'));
    std::filesystem::create_symlink("/dev/null", "input.txt");
    InstallConverter();
    prompts.AnswerFileDialog(CurrentDir() + "/out.wav");
    std::ofstream("/proc/self/clear_refs") << "5";
    const long before = peakKiB();
    ASSERT_GT(before, 0);
    Press("Loop=999\nInputFileChk=1\nInputFileFile=long.txt\n");
    EXPECT_LT(peakKiB() - before, 64 * 1024);
    EXPECT_EQ(InfoNotices(), std::vector<std::string>{});
    EXPECT_EQ(browser.shownPaths().size(), 1u);
}
