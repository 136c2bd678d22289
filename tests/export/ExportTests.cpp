#include "platform/process/Paths.h"
#include "platform/shell/AfxFileBrowser.h"
#include "platform/shell/RecordingFileBrowser.h"
#include "platform/ui/CWaitCursor.h"
#include "res/resource.h"
#include "ui/CMurmeloDlg.h"

#include "tests/support/DialogDriver.h"
#include "tests/support/FakeSpeechRuntime.h"
#include "tests/support/FileBytes.h"
#include "tests/support/ScopedEnvironmentVariable.h"
#include "tests/support/ScriptedPrompts.h"

#include <QGuiApplication>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include <sys/resource.h>

namespace {

// A converter for tests: a script written as towav.exe into the current directory. It keeps
// its process id in converter.pid and how it was called in converter-args.txt (the number of
// arguments, its own path, then each argument, one per line), and then runs body.
void InstallConverter(const std::string& body = "printf RIFF > \"$2\"") {
    WriteFile("towav.exe", "#!/bin/sh\necho $$ > converter.pid\n"
                           "printf '%s\\n' \"$#\" \"$0\" \"$@\" > converter-args.txt\n" +
                               body + "\n");
    std::filesystem::permissions("towav.exe", std::filesystem::perms::owner_all);
}

// What the converter's last run recorded: empty when it never ran.
std::string RecordedCall() {
    return ReadFile("converter-args.txt");
}

void KillConverter() {
    pid_t pid = 0;
    if (std::ifstream("converter.pid") >> pid && pid > 0)
        kill(pid, SIGKILL);
}

// A speech runtime, scripted prompts and a recording file manager for a dialog test.
class ExportTest : public testing::Test {
  protected:
    ExportTest() : m_previousBrowser(AfxSetFileBrowser(&browser)) {}
    ~ExportTest() override { AfxSetFileBrowser(m_previousBrowser); }

    // Starts the dialog with settings (lines that come before, and so override, text mode
    // with "Hi" once at rate 0 and volume 100 with the first voice), runs steps (pressing
    // ToWav unless told otherwise) and closes the dialog. The converter is waited for as
    // long as timeout says.
    void Press(const std::string& settings = "",
               const std::function<void(CMurmeloDlg&, DialogDriver&)>& steps = {},
               DWORD timeout = 60000) {
        WriteFile("set.ini",
                  "[Setting]\n" + settings +
                      "InputFileChk=0\nInputText=Hi\nRate=0\nVolume=100\nVoice=0\nLoop=1\n");
        struct ExportDlg : CMurmeloDlg {
            explicit ExportDlg(DWORD timeout) { m_dwConverterTimeout = timeout; }
        } dlg(timeout);
        DialogDriver::RunModal(dlg, [&](DialogDriver& driver) {
            steps ? steps(dlg, driver) : driver.Click(IDC_TO_WAV);
            driver.Click(IDCANCEL);
        });
    }

    // The texts of the notices captioned "Info", each of which has only an OK button.
    std::vector<std::string> InfoNotices() const {
        std::vector<std::string> texts;
        for (const ScriptedPrompts::Box& box : prompts.Boxes()) {
            if (box.caption == "Info") {
                EXPECT_EQ(box.buttons, std::vector<int>{IDOK}) << box.text;
                texts.push_back(box.text);
            }
        }
        return texts;
    }

    static std::string CurrentDir() { return std::filesystem::current_path().string(); }

    FakeSpeechRuntime runtime{{"Voice A", "Voice B", "Voice C"}};
    ScriptedPrompts prompts;
    RecordingFileBrowser browser;

  private:
    IFileBrowser* m_previousBrowser;
};

// The text as the converter's input file holds it: copies joined by single blanks.
std::string Copies(const std::string& text, int count) {
    std::string joined = text;
    for (int i = 1; i < count; ++i)
        joined += " " + text;
    return joined;
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
         "Hello world It costs 5", "1 0 100"}};
    std::vector<std::string> shown;
    for (const auto& row : rows) {
        std::filesystem::current_path(home);
        std::filesystem::create_directories("./" + row.folder);
        std::filesystem::current_path("./" + row.folder);
        InstallConverter();
        const std::string dir = CurrentDir(), output = dir + "/" + row.outputName;
        prompts.AnswerFileDialog(output);
        Press(row.settings);
        std::string numbers = row.numbers;
        std::ranges::replace(numbers, ' ', '\n');
        EXPECT_EQ(RecordedCall(), "5\n" + dir + "/towav.exe\n" + dir + "/input.txt\n" + output +
                                      "\n" + numbers + "\n");
        EXPECT_EQ(ReadFile("input.txt"), row.input);
        shown.push_back(output);
        EXPECT_EQ(browser.shownPaths(), shown);
    }
    EXPECT_EQ(InfoNotices(), std::vector<std::string>{});
}

// A cancelled save dialog does nothing; an empty text is reported, and nothing is written
// or started. The save dialog asks before a file is replaced.
TEST_F(ExportTest, ACancelledSaveOrAnEmptyTextWritesAndStartsNothing) {
    InstallConverter();
    prompts.CancelFileDialog();
    Press();
    ASSERT_EQ(prompts.FileDialogs().size(), 1u);
    const FileDialogRequest& request = prompts.FileDialogs().front();
    EXPECT_EQ(request.mode, FileDialogMode::Save);
    EXPECT_TRUE(request.flags & OFN_OVERWRITEPROMPT);
    EXPECT_EQ(request.filters, (std::vector<FileFilter>{{"wav File", {"*.wav"}}}));
    EXPECT_EQ(request.initialDir, GetModuleFileNameA());
    EXPECT_TRUE(prompts.Boxes().empty());
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
// directory), and no file is shown. The converter is started only where it is trusted. A
// folder removed while the program runs has no name; joined with the file names, that would
// write into the root folder and start the converter from there. A row's converter (none:
// nullptr) is installed and its shell command run once the dialog is up.
TEST_F(ExportTest, FaultsAreReportedAndShowNoFile) {
    const char* const writes = "printf RIFF > \"$2\"";
    const struct {
        const char *converter, *arrange, *notice;
        bool converterRuns;
    } rows[] = {
        {writes, "mkdir input.txt", "<dir>/input.txt", false},
        {nullptr, "", "<dir>/towav.exe", false},
        {writes, "chmod 400 towav.exe", "<dir>/towav.exe", false},
        {"exit 3", "", "exit code 3!", true},
        {"printf 'Starting\\nVolume 150 is not 0..100\\n' >&2; exit 2", "",
         "exit code 2!\nVolume 150 is not 0..100", true},
        {writes, "chmod 777 .", "<dir> may be changed by other users", false},
        {writes,
         "mkdir shared && mv towav.exe shared && chmod 777 shared && ln -s shared/towav.exe .",
         "<dir>/shared may be changed by other users", false},
        {"exit 0", "", "<dir>/out.wav", true},
        {writes, "rm -r \"$(pwd -P)\"",
         "The current folder cannot be read; it may have been removed!", false}};
    ASSERT_FALSE(std::filesystem::exists("/input.txt"));
    const std::string home = CurrentDir();
    for (const auto& row : rows) {
        const std::string dir = home + "/" + std::to_string(&row - rows);
        std::filesystem::create_directory(dir);
        std::filesystem::current_path(dir);
        const std::size_t before = InfoNotices().size();
        prompts.AnswerFileDialog(dir + "/out.wav");
        Press("", [&](CMurmeloDlg&, DialogDriver& driver) {
            if (row.converter)
                InstallConverter(row.converter);
            ASSERT_EQ(std::system(row.arrange), 0);
            driver.Click(IDC_TO_WAV);
        });
        std::string notice = row.notice;
        if (const std::size_t at = notice.find("<dir>"); at != std::string::npos)
            notice.replace(at, 5, dir);
        const std::vector<std::string> notices = InfoNotices();
        ASSERT_EQ(notices.size(), before + 1) << notice;
        EXPECT_NE(notices.back().find(notice), std::string::npos) << notices.back();
        EXPECT_EQ(RecordedCall().empty(), !row.converterRuns) << notice;
        std::filesystem::current_path(home);
    }
    EXPECT_TRUE(browser.shownPaths().empty());
    EXPECT_FALSE(std::filesystem::exists("/input.txt"));
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

// The chosen path goes into the input-file edit whether that edit is enabled or not, and
// the mode stays as it is; a cancelled dialog keeps the path.
TEST_F(ExportTest, BrowsedPathLandsInTheEditWhetherEnabledOrNot) {
    for (const bool fileMode : {true, false}) {
        prompts.AnswerFileDialog("/texts/a story.txt");
        prompts.CancelFileDialog();
        Press(fileMode ? "InputFileChk=1\nInputFileFile=old.txt\n" : "InputFileFile=old.txt\n",
              [&](CMurmeloDlg&, DialogDriver& driver) {
                  for (int answer = 0; answer < 2; ++answer) {
                      driver.Click(IDC_BROWSE);
                      EXPECT_EQ(driver.Text(IDC_INPUT_FILE), "/texts/a story.txt");
                  }
                  EXPECT_EQ(driver.Control(IDC_INPUT_FILE)->isEnabled(), fileMode);
                  EXPECT_EQ(driver.Control(IDC_TEXT)->isEnabled(), !fileMode);
              });
    }
    ASSERT_EQ(prompts.FileDialogs().size(), 4u);
    const FileDialogRequest& request = prompts.FileDialogs().front();
    EXPECT_EQ(request.mode, FileDialogMode::Open);
    EXPECT_EQ(request.filters, (std::vector<FileFilter>{{"txt File", {"*.txt"}}}));
    EXPECT_EQ(request.initialDir, GetModuleFileNameA());
    EXPECT_TRUE(prompts.Boxes().empty());
}

// A converter still at work at the time-out is left running, and the file manager is shown,
// since the converter may yet write the file. The busy cursor shows while the dialog waits,
// and goes with the wait. Without a display there are no converter windows to name.
TEST_F(ExportTest, TimeOutLeavesTheConverterRunningAndShowsTheFile) {
    const ScopedEnvironmentVariable noDisplay("DISPLAY", std::nullopt);
    InstallConverter("exec sleep 30");
    prompts.AnswerFileDialog(CurrentDir() + "/out.wav");
    std::atomic<bool> done = false, seen = false;
    std::thread watcher([&] {
        for (; !done && !seen; std::this_thread::sleep_for(std::chrono::milliseconds(1)))
            seen = CWaitCursor::IsShown();
    });
    Press("", {}, 300);
    done = true;
    watcher.join();
    KillConverter();
    EXPECT_TRUE(seen);
    EXPECT_FALSE(CWaitCursor::IsShown());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(RecordedCall().starts_with("5\n"));
    EXPECT_EQ(browser.shownPaths(), std::vector<std::string>{CurrentDir() + "/out.wav"});
    EXPECT_TRUE(prompts.Boxes().empty());
}

} // namespace
