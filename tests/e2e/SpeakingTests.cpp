// Reading aloud as a person hears it: the program plays to the default sound server, and the
// test listens at that server's null sink.
#include "tests/e2e/EndToEndTest.h"

#include "tests/support/FileBytes.h"

namespace {

using namespace std::chrono_literals;

// Long enough to be still speaking well after Stop.
constexpr const char* kLongText =
    "The quick brown fox jumps over the lazy dog and runs far away into the quiet green "
    "forest where nobody can see it any more";
constexpr const char* kShortText = "Good morning to you";

using SpeakingTest = EndToEndTest;

// Read speaks what the text box holds or, with the check box ticked, the file named beside
// it, and keeps the choice for the next start.
TEST_F(SpeakingTest, ReadSpeaksTheTypedTextOrTheInputFile) {
    const struct {
        const char* name;
        std::vector<std::string> keys;
        const char* typed;
        const char* kept;
    } rows[] = {
        // From Read, Tab passes Exit and lands in the text box; Enter there presses Read.
        {"typed text", {"Tab", "Tab"}, kShortText, "InputText=Good morning to you"},
        // Alt+I ticks the check box, which enables the file name box and moves the focus
        // there. A mnemonic shows its button pressed for 100 ms before it clicks, and what
        // is typed in that time goes to the button that had the focus; nothing on the
        // screen tells when the click has come, so the test waits as a person's eye would.
        {"input file", {"alt+i"}, "story.txt", "InputFileChk=1"},
    };
    // Nothing in the text box, so any sound comes from what the row typed.
    WriteFile("story.txt", std::string(kShortText) + "\n");
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        WriteSettings("");
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        ASSERT_TRUE(PressOneByOne(row.keys));
        ASSERT_TRUE(Type(row.typed));
        EXPECT_GT(SpeechAfter({"Return"}).value_or(0), 20u) << "not 0.2 s of speech after Enter";
        EXPECT_NE(ReadFile("set.ini").find(row.kept), std::string::npos) << ReadFile("set.ini");
        ExpectEndsOnEscape();
    }
}

// Stop silences the long text within 100 ms; read again, it is ended with its program by
// Escape.
TEST_F(SpeakingTest, StopSilencesTheSoundWithin100MillisecondsAndEscapeEndsTheVoice) {
    WriteSettings(kLongText);
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    // Enter presses Read; then Tab passes Exit and the text box and stops at Stop.
    const auto heard = [&](const std::vector<std::string>& keys) {
        const std::size_t before = m_sound->SampleCount();
        const auto start = Press(keys) ? WaitForSound(before) : std::nullopt;
        return start && WaitForSamples(*start + Samples(500ms)) ? start : std::nullopt;
    };
    const auto start = heard({"Return", "Tab", "Tab", "Tab"});
    ASSERT_TRUE(start) << "no sound reached the sound server within 10 s of Enter";
    ASSERT_TRUE(Press({"space"}));
    // The recording keeps pace with the sound server, so its length when the key has been
    // sent marks the key press in it (a little early, if anything: the recorder lags).
    const std::size_t pressed = m_sound->SampleCount();
    ASSERT_TRUE(WaitForSamples(pressed + Samples(1500ms)));
    const std::size_t audible = AudibleLength(LevelsFrom(*start));
    ASSERT_GT(audible, 0u);
    const std::size_t pressWindow = (pressed - *start) / kWindowSamples;
    const std::size_t msAfterPress = 10 * (audible > pressWindow ? audible - pressWindow : 0);
    std::cout << "Stop: sound ended " << msAfterPress << " ms after the key press\n";
    EXPECT_LE(msAfterPress, 100u) << "the speech went on after Stop";

    // Shift+Tab goes back from Stop over the text box and Exit to Read.
    ASSERT_TRUE(heard({"shift+Tab", "shift+Tab", "shift+Tab", "space"})) << "no second Read";
    ASSERT_NO_FATAL_FAILURE(ExpectEndsOnEscape());
    const std::size_t endedAt = m_sound->SampleCount();
    ASSERT_TRUE(WaitForSamples(endedAt + Samples(1000ms)));
    EXPECT_EQ(AudibleLength(LevelsFrom(endedAt)), 0u) << "the voice went on after the end";
}

// A loop count of 3 speaks three times as long as one. Then the sound server restarts, as
// PulseAudio does when a headset comes or goes: the next Read is heard again.
TEST_F(SpeakingTest, LoopCountThreeSpeaksThreeTimesAsLongAsOneAndOnAfterARestart) {
    WriteSettings(kShortText, 1);
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    const auto once = SpeechAfter({"Return"});
    ASSERT_TRUE(once) << "no speech after Enter";
    // From Read, Shift+Tab goes back over Help, the browse button and ToWav to the loop
    // count; Enter there presses Read with the new count.
    ASSERT_TRUE(Press({"shift+Tab", "shift+Tab", "shift+Tab", "shift+Tab", "ctrl+a"}));
    ASSERT_TRUE(Type("3"));
    const auto thrice = SpeechAfter({"Return"});
    ASSERT_TRUE(thrice) << "no speech after Enter with loop count 3";
    std::cout << "Loop: " << 10 * *once << " ms of speech once, " << 10 * *thrice
              << " ms with loop count 3\n";
    ASSERT_GT(*once, 20u);
    EXPECT_NEAR(static_cast<double>(*thrice) / static_cast<double>(*once), 3.0, 0.5);

    ASSERT_TRUE(m_sound->Restart()) << m_sound->Problem();
    EXPECT_TRUE(SpeechAfter({"Return"})) << "the Read after the restart was not heard";
    ExpectEndsOnEscape();
}

} // namespace
