#include "tests/e2e/EndToEndTest.h"

#include "tests/support/Eventually.h"
#include "tests/support/FileBytes.h"

#include <QThread>

#include <fstream>
#include <iostream>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr const char* kProgramLog = "murmelo.log";
constexpr const char* kSaveDialog = "Save As";
// Where the tests keep what the program needs beside its current folder.
constexpr const char* kSupportFolder = "program-support";

constexpr auto kWindowLimit = 20s;
constexpr auto kBoxLimit = 10s;
constexpr auto kSoundLimit = 10s;
constexpr auto kSpeechLimit = 30s;
// Longer than any pause inside or between the test sentences.
constexpr auto kQuietAfterSpeech = 800ms;

} // namespace

void EndToEndTest::Skip(const std::string& problem) {
    // A line of its own, so that a run that tested nothing cannot pass for a green one.
    std::cout << "\nEND-TO-END CASE SKIPPED: " << problem << std::endl;
    GTEST_SKIP() << problem;
}

void EndToEndTest::SetUp() {
    m_display = std::make_unique<PrivateDisplay>();
    if (!m_display->server.IsRunning())
        return Skip(m_display->server.Problem());
    if (!UsesSoundServer())
        return;
    m_sound = std::make_unique<SoundServer>(fs::current_path() / "pulse");
    if (!m_sound->IsRunning())
        return Skip(m_sound->Problem() + "\n" + ReadFile("pulse/pulseaudio.log"));
}

void EndToEndTest::TearDown() {
    // The program goes first: it is a client of both servers.
    m_program.reset();
    if (HasFailure())
        std::cout << "--- the program's messages ---\n"
                  << ReadFile(kProgramLog) << "--- PulseAudio's messages ---\n"
                  << ReadFile("pulse/pulseaudio.log") << std::endl;
    m_sound.reset();
    m_display.reset();
}

void EndToEndTest::WriteSettings(const std::string& lines, const fs::path& folder) {
    std::ofstream(folder / "set.ini") << "[Setting]\n" << lines;
}

std::string EndToEndTest::TextSettings(const std::string& text, int loop) {
    return "InputFileChk=0\nInputText=" + text +
           "\nRate=0\nVolume=100\nVoice=0\nLoop=" + std::to_string(loop) + "\n";
}

::testing::AssertionResult EndToEndTest::StartProgram(Start start) {
    return StartProgram(m_sound->ClientVariables(), start);
}

::testing::AssertionResult EndToEndTest::StartProgram(const QProcessEnvironment& sound,
                                                      Start start) {
    const fs::path support = fs::current_path() / kSupportFolder;
    std::error_code error;
    if (start == Start::BuiltProgram)
        fs::create_symlink(TOWAV_PROGRAM, "towav.exe", error);
    // A file manager that shows nothing: after an export the program opens the folder of
    // the new file, which on a desktop would open a window the tests do not want.
    fs::create_directories(support / "bin");
    fs::create_directories(support / "home");
    fs::create_symlink("/bin/true", support / "bin" / "xdg-open", error);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // No choice of sound output: the program plays to the default device, as for a user.
    environment.remove("MURMELO_AUDIO");
    environment.insert(sound);
    environment.insert("DISPLAY", QString::fromStdString(m_display->server.Display()));
    environment.insert("QT_QPA_PLATFORM", "xcb");
    environment.insert("HOME", QString::fromStdString((support / "home").string()));
    environment.insert("PATH", QString::fromStdString((support / "bin").string()) + ":" +
                                   environment.value("PATH", "/usr/bin:/bin"));
    // No session bus: neither the desktop's file manager nor an automatically launched bus
    // daemon that would outlive the test.
    environment.insert(
        "DBUS_SESSION_BUS_ADDRESS",
        QString::fromStdString("unix:path=" + (support / "no-session-bus").string()));
    m_program = std::make_unique<OwnedProcess>(environment, kProgramLog);
    if (!m_program->Launch(
            start == Start::BuiltProgram ? MURMELO_PROGRAM : MURMELO_INSTALLED_LAUNCHER, {}))
        return ::testing::AssertionFailure() << "the program could not be started";
    if (!Eventually([&] { return !Shown(kTitle).empty(); }, kWindowLimit, 50ms))
        return ::testing::AssertionFailure() << "the window \"" << kTitle << "\" did not appear";
    // Without a window manager the program gives its window the focus itself. When a box it
    // opened closes, the focus stays on the screen's root window, and keys go to the window
    // under the pointer: the main window, since Xvfb puts the pointer in the middle.
    if (!Eventually([&] { return m_display->windows.FocusedTitle() == kTitle; }, kWindowLimit,
                    50ms))
        return ::testing::AssertionFailure() << "the window did not get the keyboard focus";
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult EndToEndTest::ExportThroughTheSaveDialog(const fs::path& output) {
    // Shift+Tab from Read goes back over Help and the browse button to ToWav.
    if (!Press({"shift+Tab", "shift+Tab", "shift+Tab", "space"}) || !WaitUntilShown(kSaveDialog))
        return ::testing::AssertionFailure() << "no save dialog";
    const std::vector<xcb_window_t> fileDialog = Shown(kSaveDialog);
    if (!Type(output.string()) || !Press({"Return"}))
        return ::testing::AssertionFailure() << "xdotool could not type the file name";
    // A new file is created only when the user agrees, in a question of the same title in
    // place of the dialog; Enter takes the proposed Yes.
    if (!Eventually(
            [&] {
                const std::vector<xcb_window_t> shown = Shown(kSaveDialog);
                return !shown.empty() && shown != fileDialog;
            },
            kBoxLimit, 50ms))
        return ::testing::AssertionFailure() << "no question whether to create the new file";
    if (!Press({"Return"}) || !WaitUntilGone(kSaveDialog))
        return ::testing::AssertionFailure() << "the save dialog did not close";
    return ::testing::AssertionSuccess();
}

void EndToEndTest::ExpectEndsOnEscape() {
    ASSERT_EQ(m_program->state(), QProcess::Running) << "the program ended before Escape";
    ASSERT_TRUE(Press({"Escape"}));
    const std::optional<int> code = m_program->WaitForExit(10s);
    ASSERT_TRUE(code.has_value()) << "the program still runs 10 s after Escape";
    EXPECT_EQ(*code, 0);
}

bool EndToEndTest::PressOneByOne(const std::vector<std::string>& keys) {
    for (const std::string& key : keys) {
        if (!Press({key}))
            return false;
        QThread::msleep(500);
    }
    return true;
}

std::vector<xcb_window_t> EndToEndTest::Shown(const std::string& title) {
    std::vector<xcb_window_t> shown = m_display->windows.Shown();
    std::erase_if(shown,
                  [&](xcb_window_t window) { return m_display->windows.Title(window) != title; });
    return shown;
}

bool EndToEndTest::WaitUntilShown(const std::string& title) {
    return Eventually([&] { return !Shown(title).empty(); }, kBoxLimit, 50ms);
}

bool EndToEndTest::WaitUntilGone(const std::string& title) {
    return Eventually([&] { return Shown(title).empty(); }, kBoxLimit, 50ms);
}

std::optional<std::size_t> EndToEndTest::WaitForSound(std::size_t from) {
    std::optional<std::size_t> start;
    Eventually(
        [&] {
            if (const auto window = LevelsFrom(from).FirstLoud())
                start = from + *window * SoundLevels::kWindowSamples;
            return start.has_value();
        },
        kSoundLimit, 50ms);
    return start;
}

bool EndToEndTest::WaitForSamples(std::size_t count) {
    return Eventually([&] { return m_sound->SampleCount() >= count; }, kSoundLimit);
}

std::optional<std::size_t> EndToEndTest::SpeechAfter(const std::vector<std::string>& keys) {
    const std::size_t before = m_sound->SampleCount();
    if (!Press(keys))
        return std::nullopt;
    const std::optional<std::size_t> start = WaitForSound(before);
    const std::size_t quietWindows = Samples(kQuietAfterSpeech) / SoundLevels::kWindowSamples;
    if (!start || !Eventually(
                      [&] {
                          const SoundLevels levels = LevelsFrom(*start);
                          const std::optional<std::size_t> last = levels.LastAudible();
                          return last && levels.WindowCount() >= *last + 1 + quietWindows;
                      },
                      kSpeechLimit, 50ms))
        return std::nullopt;
    return LevelsFrom(*start).LoudCount();
}

SoundLevels EndToEndTest::LevelsFrom(std::size_t from) const {
    const std::vector<std::int16_t> samples = m_sound->Samples();
    if (from >= samples.size())
        return SoundLevels({});
    return SoundLevels(std::span(samples).subspan(from));
}
