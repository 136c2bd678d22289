#include "tests/export/ExportTest.h"

#include "platform/process/Paths.h"
#include "platform/ui/CWaitCursor.h"

#include <QGuiApplication>

#include <atomic>
#include <thread>

namespace {

// The text as the converter's input file holds it: copies joined by single blanks.
std::string Copies(const std::string& text, int count) {
    std::string joined = text;
    for (int i = 1; i < count; ++i)
        joined += " " + text;
    return joined;
}

TEST_F(ExportTest, ASaveDialogCancelledDoesNothing) {
    InstallConverter();
    prompts.CancelFileDialog();
    Press();
    ASSERT_EQ(prompts.FileDialogs().size(), 1u);
    const FileDialogRequest& request = prompts.FileDialogs().front();
    EXPECT_EQ(request.mode, FileDialogMode::Save);
    EXPECT_TRUE(request.flags & OFN_OVERWRITEPROMPT) << "no question before a file is replaced";
    EXPECT_EQ(request.filters, (std::vector<FileFilter>{{"wav File", {"*.wav"}}}));
    EXPECT_EQ(request.initialDir, GetModuleFileNameA());
    EXPECT_FALSE(std::filesystem::exists("input.txt"));
    EXPECT_TRUE(RecordedCall().empty());
    EXPECT_TRUE(prompts.Boxes().empty());
    EXPECT_TRUE(browser.shownPaths().empty());
}

// The loop count is bounded to 1..999 copies; no selection is voice 0; the paths reach the
// converter as they are, blanks, quotes and lengths whatever they be. Input-file mode drops
// the file's punctuation, while typed text keeps it.
TEST_F(ExportTest, TheTextAndSettingsReachTheConverterAsFiveArguments) {
    WriteFile("story.txt", "Hello, world. It costs $5.");
    const std::string home = CurrentDir();
    const struct {
        std::string settings;
        std::string folder; // made below the test's own and current when ToWav is pressed
        std::string outputName, input, numbers; // voice, rate and volume
    } rows[] = {
        {"Loop=3\n", "", "out.wav", Copies("Hi", 3), "1 0 100"},
        {"Loop=0\nRate=-3\nVolume=80\nVoice=-1\n", "", "take", "Hi", "0 -3 80"},
        {"Loop=5000\nVoice=2\n", "", "out.wav", Copies("Hi", 999), "3 0 100"},
        {"InputText=a, $b.\n", "my \"quoted\" folder", "a \"b\" c'd.wav", "a, $b.", "1 0 100"},
        {"InputFileChk=1\nInputFileFile=" + home + "/story.txt\n",
         std::string(100, 'x') + "/" + std::string(100, 'x'), std::string(200, 'o') + ".wav",
         "Hello world It costs 5", "1 0 100"},
    };
    std::vector<std::string> shown;
    for (const auto& row : rows) {
        std::filesystem::current_path(home);
        std::filesystem::create_directories("./" + row.folder);
        std::filesystem::current_path("./" + row.folder);
        InstallConverter();
        const std::string dir = CurrentDir(), output = dir + "/" + row.outputName;
        prompts.AnswerFileDialog(output);
        Press(row.settings);
        const std::vector<std::string> call = RecordedCall();
        ASSERT_EQ(call.size(), 7u);
        EXPECT_EQ(call[0] + " " + call[1] + " " + call[2] + " " + call[3],
                  "5 " + dir + "/towav.exe " + dir + "/input.txt " + output);
        EXPECT_EQ(call[4] + " " + call[5] + " " + call[6], row.numbers);
        EXPECT_EQ(ReadFile("input.txt"), row.input);
        shown.push_back(output);
        EXPECT_EQ(browser.shownPaths(), shown);
    }
    EXPECT_EQ(InfoNotices(), std::vector<std::string>{});
}

TEST_F(ExportTest, AnEmptyTextIsReportedAndNothingIsWrittenOrStarted) {
    InstallConverter();
    WriteFile("dots.txt", "..,,$$");
    for (const char* settings : {"InputText=\n", "InputFileChk=1\nInputFileFile=missing.txt\n",
                                 "InputFileChk=1\nInputFileFile=dots.txt\n"}) {
        prompts.AnswerFileDialog(CurrentDir() + "/out.wav");
        Press(settings);
    }
    EXPECT_EQ(InfoNotices(), std::vector<std::string>(3, "Text to speak is empty!"));
    EXPECT_FALSE(std::filesystem::exists("input.txt"));
    EXPECT_TRUE(RecordedCall().empty());
    EXPECT_TRUE(browser.shownPaths().empty());
}

// Each fault gives one notice, which holds the piece given ("<dir>" for the current
// directory), and no file is shown. The converter is started only where it is trusted.
TEST_F(ExportTest, FaultsAreReportedAndShowNoFile) {
    const struct {
        void (*arrange)();
        std::string notice;
        bool converterRuns;
    } rows[] = {
        {[] {
             InstallConverter();
             std::filesystem::create_directory("input.txt");
         },
         "<dir>/input.txt", false},
        {[] {}, "<dir>/towav.exe", false},
        {[] {
             InstallConverter();
             std::filesystem::permissions("towav.exe", std::filesystem::perms::owner_read);
         },
         "<dir>/towav.exe", false},
        {[] { InstallConverter("exit 3"); }, "exit code 3!", true},
        {[] { InstallConverter("printf 'Starting\\nVolume 150 is not 0..100\\n' >&2; exit 2"); },
         "exit code 2!\nVolume 150 is not 0..100", true},
        {[] {
             InstallConverter();
             std::filesystem::permissions(".", std::filesystem::perms(0777));
         },
         "<dir> may be changed by other users", false},
        {[] {
             std::filesystem::create_directory("shared");
             std::filesystem::current_path("shared");
             InstallConverter();
             std::filesystem::current_path("..");
             std::filesystem::permissions("shared", std::filesystem::perms(0777));
             std::filesystem::create_symlink("shared/towav.exe", "towav.exe");
         },
         "<dir>/shared may be changed by other users", false},
        {[] { InstallConverter("exit 0"); }, "<dir>/out.wav", true},
    };
    const std::string home = CurrentDir();
    for (const auto& row : rows) {
        std::filesystem::current_path(home);
        std::filesystem::create_directory(home + "/" + std::to_string(&row - rows));
        std::filesystem::current_path(home + "/" + std::to_string(&row - rows));
        row.arrange();
        const std::size_t before = InfoNotices().size();
        prompts.AnswerFileDialog(CurrentDir() + "/out.wav");
        Press();
        std::string notice = row.notice;
        if (const std::size_t at = notice.find("<dir>"); at != std::string::npos)
            notice.replace(at, 5, CurrentDir());
        const std::vector<std::string> notices = InfoNotices();
        ASSERT_EQ(notices.size(), before + 1) << notice;
        EXPECT_NE(notices.back().find(notice), std::string::npos) << notices.back();
        EXPECT_EQ(RecordedCall().empty(), !row.converterRuns) << notice;
    }
    EXPECT_TRUE(browser.shownPaths().empty());
}

TEST_F(ExportTest, BusyCursorShowsWhileWaitingForTheConverter) {
    InstallConverter("sleep 1; printf RIFF > \"$2\"");
    prompts.AnswerFileDialog(CurrentDir() + "/out.wav");
    std::atomic<bool> done = false, seen = false;
    std::thread watcher([&] {
        for (; !done && !seen; std::this_thread::sleep_for(std::chrono::milliseconds(1)))
            seen = CWaitCursor::IsShown();
    });
    Press();
    done = true;
    watcher.join();
    EXPECT_TRUE(seen);
    EXPECT_FALSE(CWaitCursor::IsShown());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(browser.shownPaths().size(), 1u);
}

} // namespace
