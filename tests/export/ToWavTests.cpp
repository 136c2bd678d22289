#include "tests/export/ExportTestSupport.h"
#include "tests/export/FakeConverter.h"
#include "tests/support/CaseName.h"
#include "tests/support/FileBytes.h"

#include "platform/process/Paths.h"
#include "platform/ui/CWaitCursor.h"

#include <QGuiApplication>

#include <atomic>
#include <filesystem>
#include <ostream>
#include <thread>

namespace {

std::string Copies(const std::string& text, int count) {
    std::string joined = text;
    for (int i = 1; i < count; ++i)
        joined += " " + text;
    return joined;
}

struct ArgumentCase {
    const char* name;
    DialogFields fields;
    // A folder, made below the test's own, that is current when ToWav is pressed.
    std::string folder;
    std::string outputName;
    int copies;
    std::string voice;

    friend void PrintTo(const ArgumentCase& row, std::ostream* out) { *out << row.name; }
};

std::string LongFolder() {
    const std::string part(100, 'x');
    return part + "/" + part + "/" + part;
}

const ArgumentCase kArgumentCases[] = {
    {"LoopThree", {.loop = "3"}, "", "out.wav", 3, "1"},
    {"LoopZeroExportsOnce", {.loop = "0"}, "", "out.wav", 1, "1"},
    {"LoopPastTheBoundStopsAt999", {.loop = "5000"}, "", "out.wav", 999, "1"},
    {"NoSelectionIsVoiceZero", {.voice = -1}, "", "out.wav", 1, "0"},
    {"NegativeRate", {.rate = "-3", .volume = "80"}, "", "out.wav", 1, "1"},
    {"NameWithoutExtension", {}, "", "take", 1, "1"},
    {"BlanksAndQuotes", {}, "my \"quoted\" folder", "a \"b\" c'd.wav", 1, "1"},
    {"LongPaths", {}, LongFolder(), std::string(200, 'o') + ".wav", 1, "1"},
};

class ToWavArguments : public ExportTest, public testing::WithParamInterface<ArgumentCase> {};

} // namespace

TEST_F(ExportTest, AsksForTheOutputFileWithTheSaveDialog) {
    prompts.CancelFileDialog();
    PressToWav({});
    ASSERT_EQ(prompts.FileDialogs().size(), 1u);
    const FileDialogRequest& request = prompts.FileDialogs().front();
    EXPECT_EQ(request.mode, FileDialogMode::Save);
    EXPECT_EQ(request.defaultExtension, "");
    EXPECT_EQ(request.fileName, "");
    ASSERT_EQ(request.filters, (std::vector<FileFilter>{{"wav File", {"*.wav"}}}));
    EXPECT_EQ(request.selectedFilter, 0u);
    EXPECT_EQ(request.flags, 0x82022u);
    EXPECT_EQ(request.initialDir, GetModuleFileNameA());
}

TEST_P(ToWavArguments, ReachTheConverterAsFiveArguments) {
    const ArgumentCase& row = GetParam();
    if (!row.folder.empty()) {
        std::filesystem::create_directories(row.folder);
        std::filesystem::current_path(row.folder);
    }
    FakeConverter{}.Install();
    const std::string dir = CurrentDir();
    const std::string output = dir + "/" + row.outputName;
    prompts.AnswerFileDialog(output);

    PressToWav(row.fields);

    const std::vector<std::string> expected{
        "5",       dir + "/towav.exe", dir + "/input.txt", output,
        row.voice, row.fields.rate,    row.fields.volume};
    EXPECT_EQ(FakeConverter::RecordedCall(), expected);
    EXPECT_EQ(ReadFile("input.txt"), Copies(row.fields.text, row.copies));
    EXPECT_EQ(InfoNotices(), std::vector<std::string>{});
    EXPECT_EQ(browser.shownPaths(), std::vector<std::string>{output});
}

INSTANTIATE_TEST_SUITE_P(Export, ToWavArguments, testing::ValuesIn(kArgumentCases), CaseName());

TEST_F(ExportTest, InputFileModeDropsPunctuationAndTypedTextKeepsIt) {
    const std::string text = "Hello, world. It costs $5.";
    WriteFile("story.txt", text);
    FakeConverter{}.Install();

    prompts.AnswerFileDialog(CurrentDir() + "/file.wav");
    PressToWav({.text = "typed", .inputFileMode = true, .inputFile = "story.txt"});
    EXPECT_EQ(ReadFile("input.txt"), "Hello world It costs 5");

    prompts.AnswerFileDialog(CurrentDir() + "/typed.wav");
    PressToWav({.text = text, .inputFile = "story.txt"});
    EXPECT_EQ(ReadFile("input.txt"), text);
}

TEST_F(ExportTest, CancelledDialogDoesNothing) {
    FakeConverter{}.Install();
    prompts.CancelFileDialog();
    PressToWav({});
    EXPECT_FALSE(std::filesystem::exists("input.txt"));
    EXPECT_TRUE(FakeConverter::RecordedCall().empty());
    EXPECT_TRUE(prompts.Boxes().empty());
    EXPECT_TRUE(browser.shownPaths().empty());
}

TEST_F(ExportTest, EmptyTextIsReportedAndNothingIsWrittenOrStarted) {
    FakeConverter{}.Install();
    const DialogFields empties[] = {{.text = ""},
                                    {.inputFileMode = true, .inputFile = "missing.txt"},
                                    {.inputFileMode = true, .inputFile = "dots.txt"}};
    WriteFile("dots.txt", "..,,$$");
    for (const DialogFields& fields : empties) {
        prompts.AnswerFileDialog(CurrentDir() + "/out.wav");
        PressToWav(fields);
    }
    EXPECT_EQ(InfoNotices(), std::vector<std::string>(3, "Text to speak is empty!"));
    EXPECT_FALSE(std::filesystem::exists("input.txt"));
    EXPECT_TRUE(FakeConverter::RecordedCall().empty());
    EXPECT_TRUE(browser.shownPaths().empty());
}

namespace {

struct FaultCase {
    const char* name;
    // Sets up the fault in the test's folder; the output goes to out.wav there.
    void (*arrange)();
    // A piece of the notice, where "<dir>" stands for the current directory.
    std::string notice;
    bool converterRuns;

    friend void PrintTo(const FaultCase& row, std::ostream* out) { *out << row.name; }
};

const FaultCase kFaultCases[] = {
    {"InputFileCannotBeWritten",
     [] {
         FakeConverter{}.Install();
         std::filesystem::create_directory("input.txt");
     },
     "<dir>/input.txt", false},
    {"ConverterMissing", [] {}, "<dir>/towav.exe", false},
    {"ConverterNotAProgram",
     [] {
         FakeConverter{}.Install();
         std::filesystem::permissions("towav.exe", std::filesystem::perms::owner_read);
     },
     "<dir>/towav.exe", false},
    {"ConverterFails", [] { FakeConverter{.exitCode = 3}.Install(); }, "exit code 3", true},
    {"ConverterFailsWithItsReason",
     [] {
         FakeConverter{.exitCode = 2, .errorLines = {"Starting", "Volume 150 is not 0..100"}}
             .Install();
     },
     "exit code 2!\nVolume 150 is not 0..100", true},
    {"ConverterInAFolderOthersMayWrite",
     [] {
         FakeConverter{}.Install();
         std::filesystem::permissions(".", std::filesystem::perms(0777));
     },
     "<dir> may be changed by other users", false},
    {"ConverterLinkedIntoAFolderOthersMayWrite",
     [] {
         std::filesystem::create_directory("shared");
         std::filesystem::current_path("shared");
         FakeConverter{}.Install();
         std::filesystem::current_path("..");
         std::filesystem::permissions("shared", std::filesystem::perms(0777));
         std::filesystem::create_symlink("shared/towav.exe", "towav.exe");
     },
     "<dir>/shared may be changed by other users", false},
    {"ConverterWritesNothing", [] { FakeConverter{.writesOutput = false}.Install(); },
     "<dir>/out.wav", true},
};

class ToWavFaults : public ExportTest, public testing::WithParamInterface<FaultCase> {};

std::string WithDir(std::string text, const std::string& dir) {
    const std::size_t at = text.find("<dir>");
    if (at != std::string::npos)
        text.replace(at, 5, dir);
    return text;
}

} // namespace

TEST_P(ToWavFaults, AreReportedAndShowNoFile) {
    const FaultCase& row = GetParam();
    row.arrange();
    prompts.AnswerFileDialog(CurrentDir() + "/out.wav");

    PressToWav({});

    const std::vector<std::string> notices = InfoNotices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_NE(notices.front().find(WithDir(row.notice, CurrentDir())), std::string::npos)
        << notices.front();
    EXPECT_EQ(FakeConverter::RecordedCall().empty(), !row.converterRuns);
    EXPECT_TRUE(browser.shownPaths().empty());
}

INSTANTIATE_TEST_SUITE_P(Export, ToWavFaults, testing::ValuesIn(kFaultCases), CaseName());

TEST_F(ExportTest, BusyCursorShowsWhileWaitingForTheConverter) {
    FakeConverter{.sleepSeconds = 1}.Install();
    prompts.AnswerFileDialog(CurrentDir() + "/out.wav");
    std::atomic<bool> done = false;
    std::atomic<bool> seen = false;
    std::thread watcher([&] {
        while (!done && !seen) {
            seen = CWaitCursor::IsShown();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });

    PressToWav({});
    done = true;
    watcher.join();

    EXPECT_TRUE(seen);
    EXPECT_FALSE(CWaitCursor::IsShown());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(browser.shownPaths().size(), 1u);
}
