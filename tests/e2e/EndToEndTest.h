#pragma once

#include "tests/e2e/Keyboard.h"
#include "tests/e2e/MurmeloProgram.h"
#include "tests/e2e/PulseServer.h"
#include "tests/e2e/ScreenWindows.h"
#include "tests/e2e/SoundLevels.h"
#include "tests/e2e/SoundRecorder.h"
#include "tests/support/XvfbServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// One case on a private X server and a private sound server, whose null sink is recorded
// from the start. The program is driven from the keyboard only. When a server cannot start,
// the case says so on a line of its own and is skipped.
class EndToEndTest : public testing::Test {
  public:
    using Settings = std::vector<std::pair<std::string, std::string>>;

  protected:
    void SetUp() override;
    void TearDown() override;

    // Whether this case needs the sound server and the recording.
    virtual bool UsesSoundServer() const { return true; }

    // A whole file as text; empty when it cannot be read.
    static std::string FileText(const std::filesystem::path& file);
    // Writes set.ini in the program's folder, in the section the program reads.
    static void WriteSettings(const Settings& settings, const std::filesystem::path& folder = ".");
    // Starts the program on this case's servers and waits until its window is on the screen
    // with the keyboard focus. sound overrides how the program reaches a sound server.
    ::testing::AssertionResult StartProgram();
    ::testing::AssertionResult StartProgram(const Environment& sound);
    // The same through the installed launcher, which starts the program in the user's data
    // folder.
    ::testing::AssertionResult StartInstalledProgram();
    // With the keyboard focus on Read: ToWav, output typed into the save dialog, and the
    // creation of the new file confirmed. Returns once the dialog is gone.
    ::testing::AssertionResult ExportThroughTheSaveDialog(const std::filesystem::path& output);
    // Presses Escape in the main window: the program ends, with exit code 0.
    void ExpectEndsOnEscape();

    // Waits until the recording holds a loud window at or after sample from; gives the
    // sample where it begins.
    std::optional<std::size_t> WaitForSound(std::size_t from, std::chrono::milliseconds limit);
    // Waits until, after sound began at sample from, the recording has been silent for quiet.
    bool WaitForQuiet(std::size_t from, std::chrono::milliseconds quiet,
                      std::chrono::milliseconds limit);
    // The loudness of the recording from sample from on.
    SoundLevels LevelsFrom(std::size_t from) const;

    static std::size_t Samples(std::chrono::milliseconds duration) {
        return static_cast<std::size_t>(duration.count()) * SoundRecorder::kSampleRate / 1000;
    }

    const Keyboard& Keys() const { return *m_keyboard; }
    const ScreenWindows& Windows() const { return *m_windows; }
    SoundRecorder& Recorder() { return *m_recorder; }
    MurmeloProgram& Program() { return *m_program; }

  private:
    ::testing::AssertionResult StartProgram(const Environment& sound, MurmeloProgram::Start start);
    void Skip(const std::string& problem, const char* log = nullptr);

    std::unique_ptr<XvfbServer> m_display;
    std::unique_ptr<PulseServer> m_sound;
    std::unique_ptr<SoundRecorder> m_recorder;
    std::unique_ptr<Keyboard> m_keyboard;
    std::unique_ptr<ScreenWindows> m_windows;
    std::unique_ptr<MurmeloProgram> m_program;
};
