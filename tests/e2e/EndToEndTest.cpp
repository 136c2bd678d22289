#include "tests/e2e/EndToEndTest.h"

#include "tests/support/FileBytes.h"

#include <algorithm>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr const char* kProgramLog = "murmelo.log";
constexpr const char* kSaveDialog = "Save As";
// Speech is well above this; a quiet syllable may lie below it.
constexpr double kLoud = 200.0;
// Below this a window holds no sound a person could hear (the null sink gives zeros).
constexpr double kSilent = 16.0;

} // namespace

void EndToEndTest::SetUp() {
    m_display = std::make_unique<PrivateDisplay>();
    if (UsesSoundServer() && m_display->server.IsRunning())
        m_sound = std::make_unique<SoundServer>(fs::current_path() / "pulse");
    const std::string problem = !m_display->server.IsRunning() ? XvfbServer::Problem()
                                : m_sound && !m_sound->IsRunning()
                                    ? m_sound->Problem() + "\n" + ReadFile("pulse/pulseaudio.log")
                                    : "";
    // A line of its own, so that a run that tested nothing cannot pass for a green one.
    if (!problem.empty())
        std::cout << "\nEND-TO-END CASE SKIPPED: " << problem << std::endl;
    if (!problem.empty())
        GTEST_SKIP() << problem;
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

void EndToEndTest::WriteSettings(const std::string& text, int loop, const fs::path& folder) {
    WriteFile(folder / "set.ini",
              "[Setting]\nInputFileChk=0\nInputText=" + text +
                  "\nRate=0\nVolume=100\nVoice=0\nLoop=" + std::to_string(loop) + "\n");
}

void EndToEndTest::StartProgram(Start start, const QProcessEnvironment& sound) {
    // Where the tests keep what the program needs beside its current folder.
    const QString support = QString::fromStdString(fs::current_path() / "program-support");
    std::error_code error;
    if (start == Start::BuiltProgram)
        fs::create_symlink(TOWAV_PROGRAM, "towav.exe", error);
    // A file manager that shows nothing: after an export the program opens the folder of
    // the new file, which on a desktop would open a window the tests do not want.
    fs::create_directories((support + "/bin").toStdString());
    fs::create_directories((support + "/home").toStdString());
    fs::create_symlink("/bin/true", (support + "/bin/xdg-open").toStdString(), error);

    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // No choice of sound output: the program plays to the default device, as for a user.
    environment.remove("MURMELO_AUDIO");
    environment.insert(m_sound ? m_sound->ClientVariables() : sound);
    environment.insert("DISPLAY", QString::fromStdString(m_display->server.Display()));
    environment.insert("QT_QPA_PLATFORM", "xcb");
    environment.insert("HOME", support + "/home");
    environment.insert("PATH", support + "/bin:" + environment.value("PATH", "/usr/bin:/bin"));
    // No session bus: neither the desktop's file manager nor an automatically launched bus
    // daemon that would outlive the test.
    environment.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + support + "/no-session-bus");
    m_program = std::make_unique<OwnedProcess>(environment, kProgramLog);
    ASSERT_TRUE(m_program->Launch(
        start == Start::BuiltProgram ? MURMELO_PROGRAM : MURMELO_INSTALLED_LAUNCHER, {}));
    ASSERT_TRUE(Eventually([&] { return !Shown(kTitle).empty(); }, 20s, 50ms))
        << "the window \"" << kTitle << "\" did not appear";
    // Without a window manager the program gives its window the focus itself. When a box it
    // opened closes, the focus stays on the screen's root window, and keys go to the window
    // under the pointer: the main window, since Xvfb puts the pointer in the middle.
    ASSERT_TRUE(Eventually([&] { return m_display->windows.FocusedTitle() == kTitle; }, 20s, 50ms))
        << "the window did not get the keyboard focus";
}

void EndToEndTest::ExportThroughTheSaveDialog(const fs::path& output) {
    // Shift+Tab from Read goes back over Help and the browse button to ToWav.
    ASSERT_TRUE(Press({"shift+Tab", "shift+Tab", "shift+Tab", "space"}));
    ASSERT_TRUE(WaitUntilShown(kSaveDialog)) << "no save dialog";
    const std::vector<xcb_window_t> fileDialog = Shown(kSaveDialog);
    ASSERT_TRUE(Type(output.string()) && Press({"Return"}));
    // A new file is created only when the user agrees, in a question of the same title in
    // place of the dialog; Enter takes the proposed Yes.
    const auto question = [&] {
        const std::vector<xcb_window_t> shown = Shown(kSaveDialog);
        return !shown.empty() && shown != fileDialog;
    };
    ASSERT_TRUE(Eventually(question, 10s, 50ms)) << "no question whether to create the new file";
    ASSERT_TRUE(Press({"Return"}));
    ASSERT_TRUE(WaitUntilShown(kSaveDialog, false)) << "the save dialog did not close";
}

void EndToEndTest::ExpectEndsOnEscape() {
    ASSERT_EQ(m_program->state(), QProcess::Running) << "the program ended before Escape";
    ASSERT_TRUE(Press({"Escape"}));
    EXPECT_EQ(m_program->WaitForExit(10s), 0) << "no exit code 0 within 10 s of Escape";
}

std::optional<std::size_t> EndToEndTest::WaitForSound(std::size_t from) {
    std::optional<std::size_t> start;
    Eventually(
        [&] {
            const Levels levels = LevelsFrom(from);
            const auto loud = std::ranges::find_if(levels, [](double l) { return l >= kLoud; });
            if (loud != levels.end())
                start = from + static_cast<std::size_t>(loud - levels.begin()) * kWindowSamples;
            return start.has_value();
        },
        10s, 50ms);
    return start;
}

std::optional<std::size_t> EndToEndTest::SpeechAfter(const std::vector<std::string>& keys) {
    const std::size_t before = m_sound->SampleCount();
    const std::optional<std::size_t> start =
        Press(keys) ? WaitForSound(before) : std::optional<std::size_t>();
    // Longer than any pause inside or between the test sentences.
    const std::size_t quietWindows = Samples(800ms) / kWindowSamples;
    const auto ended = [&] {
        const Levels levels = LevelsFrom(*start);
        return AudibleLength(levels) > 0 && levels.size() >= AudibleLength(levels) + quietWindows;
    };
    if (!start || !Eventually(ended, 30s, 50ms))
        return std::nullopt;
    return LoudCount(LevelsFrom(*start));
}

Levels EndToEndTest::LevelsOf(std::span<const std::int16_t> samples) {
    Levels levels;
    for (std::size_t at = 0; at + kWindowSamples <= samples.size(); at += kWindowSamples) {
        double sum = 0.0;
        for (const std::int16_t sample : samples.subspan(at, kWindowSamples))
            sum += static_cast<double>(sample) * sample;
        levels.push_back(std::sqrt(sum / kWindowSamples));
    }
    return levels;
}

std::size_t EndToEndTest::LoudCount(const Levels& levels) {
    return static_cast<std::size_t>(
        std::ranges::count_if(levels, [](double l) { return l >= kLoud; }));
}

std::size_t EndToEndTest::AudibleLength(const Levels& levels) {
    const auto last =
        std::ranges::find_if(levels.rbegin(), levels.rend(), [](double l) { return l >= kSilent; });
    return static_cast<std::size_t>(levels.rend() - last);
}
