#include "tests/e2e/EndToEndTest.h"

#include "tests/e2e/Polling.h"

#include <fstream>
#include <iostream>
#include <sstream>

namespace {

constexpr const char* kSoundLog = "pulseaudio.log";
constexpr const char* kRecorderLog = "parec.log";
constexpr const char* kProgramLog = "murmelo.log";
constexpr const char* kRecording = "recording.raw";

constexpr auto kWindowLimit = std::chrono::seconds(20);
constexpr auto kExitLimit = std::chrono::seconds(10);
constexpr auto kDialogLimit = std::chrono::seconds(10);
constexpr const char* kSaveDialog = "Save As";

} // namespace

std::string EndToEndTest::FileText(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void EndToEndTest::Skip(const std::string& problem, const char* log) {
    // A line of its own, so that a run that tested nothing cannot pass for a green one.
    std::cout << "\nEND-TO-END CASE SKIPPED: " << problem << "\n"
              << (log ? FileText(log) : std::string()) << std::endl;
}

void EndToEndTest::SetUp() {
    m_display = std::make_unique<XvfbServer>();
    if (!m_display->IsRunning()) {
        const std::string problem = m_display->Problem();
        Skip(problem);
        GTEST_SKIP() << problem;
    }
    m_keyboard = std::make_unique<Keyboard>(m_display->Display());
    m_windows = std::make_unique<ScreenWindows>(m_display->Display());
    if (!UsesSoundServer())
        return;
    m_sound = std::make_unique<PulseServer>(std::filesystem::current_path() / "pulse", kSoundLog);
    if (!m_sound->IsRunning()) {
        const std::string problem = m_sound->Problem();
        Skip(problem, kSoundLog);
        GTEST_SKIP() << problem;
    }
    // The recording gets going while the program starts.
    m_recorder = std::make_unique<SoundRecorder>(*m_sound, kRecording, kRecorderLog);
    if (!m_recorder->Started()) {
        const std::string problem = "parec could not be started (is pulseaudio-utils installed?)";
        Skip(problem, kRecorderLog);
        GTEST_SKIP() << problem;
    }
}

void EndToEndTest::TearDown() {
    // The program goes first: it is a client of both servers.
    m_program.reset();
    if (HasFailure())
        std::cout << "--- the program's messages ---\n"
                  << FileText(kProgramLog) << "--- PulseAudio's messages ---\n"
                  << FileText(kSoundLog) << std::endl;
    m_recorder.reset();
    m_sound.reset();
    m_display.reset();
}

void EndToEndTest::WriteSettings(const Settings& settings, const std::filesystem::path& folder) {
    std::ofstream file(folder / "set.ini", std::ios::trunc);
    file << "[Setting]\n";
    for (const auto& [key, value] : settings)
        file << key << '=' << value << '\n';
}

::testing::AssertionResult EndToEndTest::StartProgram() {
    return StartProgram(Environment()
                            .Set("PULSE_SERVER", m_sound->Address())
                            .Set("XDG_RUNTIME_DIR", m_sound->RuntimeFolder().string()));
}

::testing::AssertionResult EndToEndTest::StartProgram(const Environment& sound) {
    return StartProgram(sound, MurmeloProgram::Start::BuiltProgram);
}

::testing::AssertionResult EndToEndTest::StartInstalledProgram() {
    return StartProgram(Environment()
                            .Set("PULSE_SERVER", m_sound->Address())
                            .Set("XDG_RUNTIME_DIR", m_sound->RuntimeFolder().string()),
                        MurmeloProgram::Start::InstalledLauncher);
}

::testing::AssertionResult EndToEndTest::StartProgram(const Environment& sound,
                                                      MurmeloProgram::Start start) {
    m_program = std::make_unique<MurmeloProgram>(m_display->Display(), sound, kProgramLog, start);
    if (!m_program->Started())
        return ::testing::AssertionFailure() << "the program could not be started";
    if (!m_windows->WaitUntilShown(MurmeloProgram::kTitle, kWindowLimit))
        return ::testing::AssertionFailure()
               << "the window \"" << MurmeloProgram::kTitle << "\" did not appear";
    // Without a window manager the program gives its window the focus itself. When a box it
    // opened closes, the focus stays on the screen's root window, and keys go to the window
    // under the pointer: the main window, since Xvfb puts the pointer in the middle.
    if (!WaitUntil([&] { return m_windows->FocusedTitle() == MurmeloProgram::kTitle; },
                   kWindowLimit, std::chrono::milliseconds(50)))
        return ::testing::AssertionFailure() << "the window did not get the keyboard focus";
    // The null sink plays silence while nobody plays anything, so the recording runs from
    // here on and its length tells the time.
    if (m_recorder && !m_recorder->WaitUntilRecording(kWindowLimit))
        return ::testing::AssertionFailure() << "parec recorded nothing from the sound server:\n"
                                             << FileText(kRecorderLog);
    return ::testing::AssertionSuccess();
}

::testing::AssertionResult
EndToEndTest::ExportThroughTheSaveDialog(const std::filesystem::path& output) {
    // Shift+Tab from Read goes back over Help and the browse button to ToWav.
    if (!m_keyboard->Press({"shift+Tab", "shift+Tab", "shift+Tab", "space"}))
        return ::testing::AssertionFailure() << "xdotool could not press the keys";
    if (!m_windows->WaitUntilShown(kSaveDialog, kDialogLimit))
        return ::testing::AssertionFailure() << "no save dialog";
    const std::vector<std::string> fileDialog = m_windows->Shown(kSaveDialog);
    if (!m_keyboard->Type(output.string()) || !m_keyboard->Press({"Return"}))
        return ::testing::AssertionFailure() << "xdotool could not type the file name";
    // A new file is created only when the user agrees, in a question of the same title in
    // place of the dialog; Enter takes the proposed Yes.
    if (!WaitUntil(
            [&] {
                const std::vector<std::string> shown = m_windows->Shown(kSaveDialog);
                return !shown.empty() && shown != fileDialog;
            },
            kDialogLimit, std::chrono::milliseconds(50)))
        return ::testing::AssertionFailure() << "no question whether to create the new file";
    if (!m_keyboard->Press({"Return"}) || !m_windows->WaitUntilGone(kSaveDialog, kDialogLimit))
        return ::testing::AssertionFailure() << "the save dialog did not close";
    return ::testing::AssertionSuccess();
}

void EndToEndTest::ExpectEndsOnEscape() {
    ASSERT_TRUE(m_program->IsRunning()) << "the program ended before Escape";
    ASSERT_TRUE(m_keyboard->Press({"Escape"}));
    const std::optional<int> code = m_program->WaitForExit(kExitLimit);
    ASSERT_TRUE(code.has_value()) << "the program still runs 10 s after Escape";
    EXPECT_EQ(*code, 0);
}

std::optional<std::size_t> EndToEndTest::WaitForSound(std::size_t from,
                                                      std::chrono::milliseconds limit) {
    std::optional<std::size_t> start;
    WaitUntil(
        [&] {
            if (const auto window = LevelsFrom(from).FirstLoud())
                start = from + *window * SoundLevels::kWindowSamples;
            return start.has_value();
        },
        limit, std::chrono::milliseconds(50));
    return start;
}

bool EndToEndTest::WaitForQuiet(std::size_t from, std::chrono::milliseconds quiet,
                                std::chrono::milliseconds limit) {
    const std::size_t quietWindows = Samples(quiet) / SoundLevels::kWindowSamples;
    return WaitUntil(
        [&] {
            const SoundLevels levels = LevelsFrom(from);
            const std::optional<std::size_t> last = levels.LastAudible();
            return last && levels.WindowCount() >= *last + 1 + quietWindows;
        },
        limit, std::chrono::milliseconds(50));
}

SoundLevels EndToEndTest::LevelsFrom(std::size_t from) const {
    const std::vector<std::int16_t> samples = m_recorder->Samples();
    if (from >= samples.size())
        return SoundLevels({});
    return SoundLevels(std::span(samples).subspan(from));
}
