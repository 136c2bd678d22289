// Reading aloud as a person hears it: the program plays to the default sound server, and the
// test listens at that server's null sink.
#include "tests/e2e/EndToEndTest.h"

#include <fstream>
#include <iostream>
#include <thread>

namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

// Long enough to be still speaking well after Stop.
constexpr const char* kLongText =
    "The quick brown fox jumps over the lazy dog and runs far away into the quiet green "
    "forest where nobody can see it any more";
constexpr const char* kShortText = "Good morning to you";

constexpr auto kSoundLimit = seconds(10);
constexpr auto kSpeechLimit = seconds(30);
// Longer than any pause inside or between the test sentences.
constexpr auto kQuietAfterSpeech = milliseconds(800);
// Well past the 100 ms in which a button chosen by its mnemonic shows itself pressed.
constexpr auto kMnemonicClick = milliseconds(500);

// What a person sets before starting: the text box as the text source, one repetition, the
// voice at its start-up rate and volume.
EndToEndTest::Settings TextSettings(const std::string& text, int loop = 1) {
    return {{"InputFileChk", "0"}, {"InputText", text}, {"Rate", "0"},
            {"Volume", "100"},     {"Voice", "0"},      {"Loop", std::to_string(loop)}};
}

using SpeakingTest = EndToEndTest;

TEST_F(SpeakingTest, TypedTextIsReadAloudOnEnter) {
    WriteSettings(TextSettings(""));
    ASSERT_TRUE(StartProgram());
    const std::size_t before = Recorder().SampleCount();

    // From Read, Tab passes Exit and lands in the text box; Enter there presses Read.
    ASSERT_TRUE(Keys().Press({"Tab", "Tab"}));
    ASSERT_TRUE(Keys().Type(kShortText));
    ASSERT_TRUE(Keys().Press({"Return"}));

    const std::optional<std::size_t> start = WaitForSound(before, kSoundLimit);
    ASSERT_TRUE(start) << "no sound reached the sound server within 10 s of Enter";
    ASSERT_TRUE(WaitForQuiet(*start, kQuietAfterSpeech, kSpeechLimit));
    EXPECT_GT(LevelsFrom(*start).LoudCount(), 20u) << "less than 0.2 s of speech";
    // Read keeps what was typed for the next start.
    EXPECT_NE(FileText("set.ini").find(std::string("InputText=") + kShortText), std::string::npos)
        << FileText("set.ini");
    ExpectEndsOnEscape();
}

TEST_F(SpeakingTest, StopSilencesTheSoundWithin100Milliseconds) {
    WriteSettings(TextSettings(kLongText));
    ASSERT_TRUE(StartProgram());
    const std::size_t before = Recorder().SampleCount();

    // Enter presses Read; Tab passes Exit and the text box and stops at Stop.
    ASSERT_TRUE(Keys().Press({"Return", "Tab", "Tab", "Tab"}));
    const std::optional<std::size_t> start = WaitForSound(before, kSoundLimit);
    ASSERT_TRUE(start) << "no sound reached the sound server within 10 s of Enter";
    ASSERT_TRUE(Recorder().WaitForSamples(*start + Samples(milliseconds(500)), kSoundLimit));

    ASSERT_TRUE(Keys().Press({"space"}));
    // The recording keeps pace with the sound server, so its length when the key has been
    // sent marks the key press in it (a little early, if anything: the recorder lags).
    const std::size_t pressed = Recorder().SampleCount();
    ASSERT_TRUE(Recorder().WaitForSamples(pressed + Samples(milliseconds(1500)), kSoundLimit));

    const SoundLevels levels = LevelsFrom(*start);
    const std::size_t pressWindow = SoundLevels::WindowOf(pressed - *start);
    const std::optional<std::size_t> last = levels.LastAudible();
    ASSERT_TRUE(last);
    const double soundAfterPress =
        *last < pressWindow ? 0.0 : SoundLevels::Milliseconds(*last + 1 - pressWindow);
    std::cout << "Stop: sound ended " << soundAfterPress << " ms after the key press\n";
    EXPECT_LE(soundAfterPress, 100.0) << "the speech went on after Stop";
    ExpectEndsOnEscape();
}

TEST_F(SpeakingTest, EscapeWhileSpeakingEndsTheProgramAndItsVoice) {
    WriteSettings(TextSettings(kLongText));
    ASSERT_TRUE(StartProgram());
    const std::size_t before = Recorder().SampleCount();
    ASSERT_TRUE(Keys().Press({"Return"}));
    const std::optional<std::size_t> start = WaitForSound(before, kSoundLimit);
    ASSERT_TRUE(start) << "no sound reached the sound server within 10 s of Enter";
    ASSERT_TRUE(Recorder().WaitForSamples(*start + Samples(milliseconds(500)), kSoundLimit));

    const auto pressed = std::chrono::steady_clock::now();
    ExpectEndsOnEscape();
    if (HasFatalFailure())
        return;
    const auto ended = std::chrono::steady_clock::now();
    const std::size_t endedAt = Recorder().SampleCount();
    std::cout << "Escape: the program ended "
              << std::chrono::duration_cast<milliseconds>(ended - pressed).count()
              << " ms after the key press\n";
    ASSERT_TRUE(Recorder().WaitForSamples(endedAt + Samples(milliseconds(1000)), kSoundLimit));
    const SoundLevels levels = LevelsFrom(endedAt);
    EXPECT_FALSE(levels.LastAudible().has_value()) << "the voice went on after the program ended";
}

TEST_F(SpeakingTest, LoopCountThreeSpeaksThreeTimesAsLongAsOne) {
    WriteSettings(TextSettings(kShortText, 1));
    ASSERT_TRUE(StartProgram());

    const std::size_t onceFrom = Recorder().SampleCount();
    ASSERT_TRUE(Keys().Press({"Return"}));
    const std::optional<std::size_t> once = WaitForSound(onceFrom, kSoundLimit);
    ASSERT_TRUE(once) << "no sound within 10 s of Enter";
    ASSERT_TRUE(WaitForQuiet(*once, kQuietAfterSpeech, kSpeechLimit));
    const std::size_t onceLoud = LevelsFrom(*once).LoudCount();

    // From Read, Shift+Tab goes back over Help, the browse button and ToWav to the loop
    // count; Enter there presses Read with the new count.
    const std::size_t thriceFrom = Recorder().SampleCount();
    ASSERT_TRUE(Keys().Press({"shift+Tab", "shift+Tab", "shift+Tab", "shift+Tab", "ctrl+a"}));
    ASSERT_TRUE(Keys().Type("3"));
    ASSERT_TRUE(Keys().Press({"Return"}));
    const std::optional<std::size_t> thrice = WaitForSound(thriceFrom, kSoundLimit);
    ASSERT_TRUE(thrice) << "no sound within 10 s of Enter";
    ASSERT_TRUE(WaitForQuiet(*thrice, kQuietAfterSpeech, kSpeechLimit));
    const std::size_t thriceLoud = LevelsFrom(*thrice).LoudCount();

    std::cout << "Loop: " << SoundLevels::Milliseconds(onceLoud) << " ms of speech once, "
              << SoundLevels::Milliseconds(thriceLoud) << " ms with loop count 3\n";
    ASSERT_GT(onceLoud, 20u);
    const double ratio = static_cast<double>(thriceLoud) / static_cast<double>(onceLoud);
    EXPECT_GE(ratio, 2.5);
    EXPECT_LE(ratio, 3.5);
    ExpectEndsOnEscape();
}

TEST_F(SpeakingTest, CheckBoxMakesReadSpeakTheInputFile) {
    // Nothing in the text box, so any sound comes from the file.
    WriteSettings(TextSettings(""));
    std::ofstream("story.txt") << kShortText << "\n";
    ASSERT_TRUE(StartProgram());
    const std::size_t before = Recorder().SampleCount();

    // Alt+I ticks the check box, which enables the file name box and moves the focus there.
    // A mnemonic shows its button pressed for 100 ms before it clicks, and what is typed in
    // that time goes to the button that had the focus; nothing on the screen tells when the
    // click has come, so the test waits as a person's eye would.
    ASSERT_TRUE(Keys().Press({"alt+i"}));
    std::this_thread::sleep_for(kMnemonicClick);
    ASSERT_TRUE(Keys().Type("story.txt"));
    ASSERT_TRUE(Keys().Press({"Return"}));

    const std::optional<std::size_t> start = WaitForSound(before, kSoundLimit);
    ASSERT_TRUE(start) << "no sound reached the sound server within 10 s of Enter";
    ASSERT_TRUE(WaitForQuiet(*start, kQuietAfterSpeech, kSpeechLimit));
    EXPECT_NE(FileText("set.ini").find("InputFileChk=1"), std::string::npos) << FileText("set.ini");
    ExpectEndsOnEscape();
}

} // namespace
