#pragma once

#include "tests/support/Eventually.h"
#include "tests/support/PrivateDisplay.h"
#include "tests/support/SoundServer.h"

#include <gtest/gtest.h>

#include <span>

// The loudness of a recording, as the root mean square of each 10 ms window.
using Levels = std::vector<double>;

// One case on a private X server and a private sound server, whose null sink is recorded
// from the start. The program is driven from the keyboard only. When a server cannot start,
// the case says so on a line of its own and is skipped.
class EndToEndTest : public testing::Test {
  protected:
    static constexpr const char* kTitle = "Parlino";
    static constexpr std::size_t kWindowSamples = 220; // 10 ms at 22050 Hz
    enum class Start { BuiltProgram, InstalledLauncher };

    void SetUp() override;
    void TearDown() override;
    // Whether this case needs the sound server and the recording.
    virtual bool UsesSoundServer() const { return true; }

    // Writes set.ini in the program's folder as a person sets it before reading a text: the
    // text box as the text source, the loop count, the voice at its start-up rate and volume.
    static void WriteSettings(const std::string& text, int loop = 1,
                              const std::filesystem::path& folder = ".");

    // Starts the program as a user does, on this case's servers, and waits until its window
    // is on the screen with the keyboard focus: the built program in the current folder
    // (where it keeps set.ini and finds towav.exe, linked there), or the installed launcher,
    // which chooses its own folder. Call it within ASSERT_NO_FATAL_FAILURE. Without this case's
    // sound server, sound says how the program reaches one.
    void StartProgram(Start start = Start::BuiltProgram, const QProcessEnvironment& sound = {});
    // With the keyboard focus on Read: ToWav, output typed into the save dialog, and the
    // creation of the new file confirmed. Returns once the dialog is gone.
    void ExportThroughTheSaveDialog(const std::filesystem::path& output);
    // Presses Escape in the main window: the program ends, with exit code 0.
    void ExpectEndsOnEscape();

    bool Press(const std::vector<std::string>& keys) { return m_display->keys.Press(keys); }
    bool Type(const std::string& text) { return m_display->keys.Type(text); }
    // Presses the keys one at a time, with the pause of a person who watches each take effect.
    bool PressOneByOne(const std::vector<std::string>& keys) {
        return m_display->keys.PressOneByOne(keys);
    }
    // The windows on the screen with exactly this title.
    std::vector<xcb_window_t> Shown(const std::string& title) {
        return m_display->windows.Shown(title);
    }
    // Whether a window of this title is on the screen (or none is) within 10 s.
    bool WaitUntilShown(const std::string& title, bool shown = true) {
        using namespace std::chrono_literals;
        return Eventually([&] { return Shown(title).empty() != shown; }, 10s, 50ms);
    }

    // Waits until the recording holds a loud window at or after sample from; gives the
    // sample where it begins.
    std::optional<std::size_t> WaitForSound(std::size_t from);
    // Waits until the recording holds count samples.
    bool WaitForSamples(std::size_t count) {
        return Eventually([&] { return m_sound->SampleCount() >= count; },
                          std::chrono::seconds(10));
    }
    // Presses the keys and listens to the speech they start: how many of its windows are
    // loud, once it has ended. Nothing when no sound came within 10 s or it went on for 30.
    std::optional<std::size_t> SpeechAfter(const std::vector<std::string>& keys);

    // The loudness of the recording from sample from on, and of any samples.
    Levels LevelsFrom(std::size_t from) const {
        const std::vector<std::int16_t> samples = m_sound->Samples();
        return from >= samples.size() ? Levels() : LevelsOf(std::span(samples).subspan(from));
    }
    static Levels LevelsOf(std::span<const std::int16_t> samples);
    // How many windows are loud: the length of the speech without its pauses.
    static std::size_t LoudCount(const Levels& levels);
    // The windows up to the last one that holds sound a person could hear; 0 when none does.
    static std::size_t AudibleLength(const Levels& levels);
    static std::size_t Samples(std::chrono::milliseconds duration) {
        return static_cast<std::size_t>(duration.count()) * SoundServer::kSampleRate / 1000;
    }

    std::unique_ptr<PrivateDisplay> m_display;
    std::unique_ptr<SoundServer> m_sound;
    std::unique_ptr<OwnedProcess> m_program;
};
