#include "tests/support/FileBytes.h"
#include "tests/support/WavFileInfo.h"
#include "tests/towav/ConverterProcess.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const std::string kSentence = "Hello there, how are you today?";

// The sentence spoken as often as the dialog's loop count says: copies joined by spaces.
std::string Repeated(int copies) {
    std::string text = kSentence;
    for (int copy = 1; copy < copies; ++copy)
        text += " " + kSentence;
    return text;
}

// Converts the text and returns the WAV file's header and samples; fails the test when
// the converter failed or wrote something else.
WavFileInfo Convert(const std::string& text, const std::string& voice = "1",
                    const std::string& rate = "0", const std::string& volume = "100") {
    WriteFile("input.txt", text);
    const ConverterRun run = RunConverter({"input.txt", "out.wav", voice, rate, volume});
    EXPECT_EQ(run.status, 0) << run.standardError;
    EXPECT_EQ(run.standardError, "");
    const auto info = WavFileInfo::Read("out.wav");
    EXPECT_TRUE(info.has_value()) << "not a WAV file whose sizes match";
    return info.value_or(WavFileInfo{});
}

TEST(ToWavOutput, IsMonoSixteenBitPcmAt22050HzAndGrowsWithTheLoopCount) {
    const WavFileInfo once = Convert(Repeated(1));
    EXPECT_EQ(once.format, 1);
    EXPECT_EQ(once.channels, 1);
    EXPECT_EQ(once.sampleRate, 22050u);
    EXPECT_EQ(once.byteRate, 44100u);
    EXPECT_EQ(once.blockAlign, 2);
    EXPECT_EQ(once.bitsPerSample, 16);
    EXPECT_GT(once.Seconds(), 1.0);
    EXPECT_NEAR(Convert(Repeated(3)).Seconds() / once.Seconds(), 3.0, 0.5);
}

TEST(ToWavOutput, DurationFollowsTheRate) {
    const std::string text = Repeated(2);
    const double slow = Convert(text, "1", "-5").Seconds();
    const double normal = Convert(text, "1", "0").Seconds();
    const double fast = Convert(text, "1", "5").Seconds();
    // Rate 5 speaks the square root of three times as fast as rate 0, rate -5 as much slower.
    EXPECT_NEAR(normal / fast, 1.732, 0.2);
    EXPECT_NEAR(slow / normal, 1.732, 0.2);
}

TEST(ToWavOutput, VolumeZeroIsSilenceOfTheSameLength) {
    const WavFileInfo loud = Convert(kSentence);
    const WavFileInfo silent = Convert(kSentence, "1", "0", "0");
    EXPECT_EQ(silent.dataBytes, loud.dataBytes);
    EXPECT_TRUE(std::ranges::all_of(silent.samples, [](char byte) { return byte == 0; }));
    EXPECT_FALSE(std::ranges::all_of(loud.samples, [](char byte) { return byte == 0; }));
}

// Voice 0 means the first voice, and the same input gives the same bytes.
TEST(ToWavOutput, VoiceZeroIsTheFirstVoiceAndTheSameInputGivesTheSameBytes) {
    const std::string first = Convert(kSentence, "0", "3", "80").samples;
    EXPECT_EQ(Convert(kSentence, "1", "3", "80").samples, first);
    EXPECT_NE(Convert(kSentence, "2", "3", "80").samples, first);
}

TEST(ToWavOutput, EmptyTextGivesAWavFileWithoutSamples) {
    EXPECT_EQ(Convert("").dataBytes, 0u);
}

TEST(ToWavOutput, ReplacesAnExistingFileAndLeavesNothingElse) {
    WriteFile("out.wav", "old");
    Convert(kSentence);
    EXPECT_EQ(FolderEntries(), (std::vector<std::string>{"input.txt", "out.wav"}));
}

TEST(ToWavOutput, ALinkedFileIsReplacedWithItsPermissions) {
    WriteFile("kept.wav", "old");
    std::filesystem::permissions("kept.wav", std::filesystem::perms(0600));
    std::filesystem::create_symlink("kept.wav", "out.wav");
    Convert(kSentence);
    EXPECT_TRUE(std::filesystem::is_symlink("out.wav"));
    EXPECT_TRUE(WavFileInfo::Read("kept.wav").has_value());
    EXPECT_EQ(std::filesystem::status("kept.wav").permissions(), std::filesystem::perms(0600));
}

} // namespace
