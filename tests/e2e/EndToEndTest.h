#pragma once

#include "tests/e2e/SoundLevels.h"
#include "tests/support/OwnedProcess.h"
#include "tests/support/PrivateDisplay.h"
#include "tests/support/SoundServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// One case on a private X server and a private sound server, whose null sink is recorded
// from the start. The program is driven from the keyboard only. When a server cannot start,
// the case says so on a line of its own and is skipped.
class EndToEndTest : public testing::Test {
  protected:
    static constexpr const char* kTitle = "Parlino";
    enum class Start { BuiltProgram, InstalledLauncher };

    void SetUp() override;
    void TearDown() override;
    // Whether this case needs the sound server and the recording.
    virtual bool UsesSoundServer() const { return true; }

    // Writes set.ini in the program's folder: these lines in the section the program reads.
    static void WriteSettings(const std::string& lines, const std::filesystem::path& folder = ".");
    // What a person sets before reading a text: the text box as the text source, the loop
    // count, the voice at its start-up rate and volume.
    static std::string TextSettings(const std::string& text, int loop = 1);

    // Starts the program as a user does, on this case's servers, and waits until its window
    // is on the screen with the keyboard focus: the built program in the current folder
    // (where it keeps set.ini and finds towav.exe, linked there), or the installed launcher,
    // which chooses its own folder. sound chooses how the program reaches a sound server.
    ::testing::AssertionResult StartProgram(Start start = Start::BuiltProgram);
    ::testing::AssertionResult StartProgram(const QProcessEnvironment& sound,
                                            Start start = Start::BuiltProgram);
    // With the keyboard focus on Read: ToWav, output typed into the save dialog, and the
    // creation of the new file confirmed. Returns once the dialog is gone.
    ::testing::AssertionResult ExportThroughTheSaveDialog(const std::filesystem::path& output);
    // Presses Escape in the main window: the program ends, with exit code 0.
    void ExpectEndsOnEscape();

    bool Press(const std::vector<std::string>& keys) { return m_display->keys.Press(keys); }
    bool Type(const std::string& text) { return m_display->keys.Type(text); }
    // Presses the keys one at a time, with the pause of a person who watches each take effect.
    bool PressOneByOne(const std::vector<std::string>& keys);
    // The windows on the screen with exactly this title.
    std::vector<xcb_window_t> Shown(const std::string& title);
    bool WaitUntilShown(const std::string& title);
    bool WaitUntilGone(const std::string& title);

    // Waits until the recording holds a loud window at or after sample from; gives the
    // sample where it begins.
    std::optional<std::size_t> WaitForSound(std::size_t from);
    // Waits until the recording holds count samples.
    bool WaitForSamples(std::size_t count);
    // Presses the keys and listens to the speech they start: how many of its windows are
    // loud, once it has ended. Nothing when no sound came within 10 s or it went on for 30.
    std::optional<std::size_t> SpeechAfter(const std::vector<std::string>& keys);
    // The loudness of the recording from sample from on.
    SoundLevels LevelsFrom(std::size_t from) const;
    static std::size_t Samples(std::chrono::milliseconds duration) {
        return static_cast<std::size_t>(duration.count()) * SoundServer::kSampleRate / 1000;
    }

    std::unique_ptr<PrivateDisplay> m_display;
    std::unique_ptr<SoundServer> m_sound;
    std::unique_ptr<OwnedProcess> m_program;

  private:
    void Skip(const std::string& problem);
};
