// What the converter writes beyond plain WAV: the format its output name asks for, long texts
// spoken in parallel and joined without a seam, the list of its voices, Flite's voices.
#include "runtime/speech/SpeechEngines.h"
#include "runtime/speech/SpeechSynthesizer.h"
#include "runtime/speech/VoiceCatalog.h"
#include "tests/support/CaseName.h"
#include "tests/support/FileBytes.h"
#include "tests/support/ScopedEnvironmentVariable.h"
#include "tests/towav/ConverterProcess.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>

namespace {

constexpr const char* kSentence = "Hello there, how are you today? I am fine, thank you.";

// A file as libsndfile reads it back.
struct SoundFile {
    int majorFormat = 0;
    int sampleRate = 0;
    double seconds = 0;
    std::vector<std::int16_t> samples;
};

std::optional<SoundFile> ReadSoundFile(const std::string& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file)
        return std::nullopt;
    SoundFile sound{info.format & SF_FORMAT_TYPEMASK, info.samplerate,
                    static_cast<double>(info.frames) / info.samplerate,
                    std::vector<std::int16_t>(static_cast<std::size_t>(info.frames))};
    sf_read_short(file, sound.samples.data(), info.frames);
    sf_close(file);
    return sound;
}

SoundFile Convert(const std::string& text, const std::string& output) {
    WriteFile("input.txt", text);
    const ConverterRun run = RunConverter({"input.txt", output, "1", "0", "100"});
    EXPECT_EQ(run.status, 0) << run.standardError;
    const auto sound = ReadSoundFile(output);
    EXPECT_TRUE(sound) << output << " cannot be read back";
    return sound.value_or(SoundFile{});
}

struct FormatCase {
    const char* name;
    const char* output;
    int majorFormat;
    int sampleRate;
};

void PrintTo(const FormatCase& row, std::ostream* os) {
    *os << row.name;
}

class ToWavFormat : public testing::TestWithParam<FormatCase> {};

// The encoders add a little silence at either end; a hundredth of a second is far less
// than a word.
TEST_P(ToWavFormat, FollowsTheExtensionAndKeepsTheLength) {
    const FormatCase& row = GetParam();
    const SoundFile wav = Convert(kSentence, "reference.wav");
    const SoundFile sound = Convert(kSentence, row.output);
    EXPECT_EQ(sound.majorFormat, row.majorFormat);
    EXPECT_EQ(sound.sampleRate, row.sampleRate);
    EXPECT_NEAR(sound.seconds, wav.seconds, 0.06);
}

INSTANTIATE_TEST_SUITE_P(
    Extensions, ToWavFormat,
    testing::Values(FormatCase{"Flac", "out.flac", SF_FORMAT_FLAC, 22050},
                    FormatCase{"Vorbis", "out.ogg", SF_FORMAT_OGG, 22050},
                    FormatCase{"OpusAt48kHz", "out.opus", SF_FORMAT_OGG, 48000},
                    FormatCase{"Mp3", "out.mp3", SF_FORMAT_MPEG, 22050},
                    FormatCase{"UpperCaseExtension", "OUT.FLAC", SF_FORMAT_FLAC, 22050},
                    FormatCase{"OtherExtensionIsWav", "out.snd", SF_FORMAT_WAV, 22050},
                    FormatCase{"NoExtensionIsWav", "out", SF_FORMAT_WAV, 22050}),
    CaseName());

// The longest stretch of near silence, in samples.
std::size_t LongestPause(const std::vector<std::int16_t>& samples) {
    std::size_t longest = 0;
    std::size_t current = 0;
    for (const std::int16_t sample : samples) {
        current = std::abs(sample) < 64 ? current + 1 : 0;
        longest = std::max(longest, current);
    }
    return longest;
}

// The largest step from one sample to the next: a cut in the middle of a sound is a click.
int LargestStep(const std::vector<std::int16_t>& samples) {
    int largest = 0;
    for (std::size_t i = 1; i < samples.size(); ++i)
        largest = std::max(largest, std::abs(samples[i] - samples[i - 1]));
    return largest;
}

// Spoken in worker processes, a long text sounds as one pass of the voice over it does:
// the same length, no longer pause, no click where the runs meet.
TEST(ToWavParallel, JoinedRunsSoundLikeOnePass) {
    std::string text;
    while (text.size() < 6000)
        text += "The river runs on towards the sea, past the mill and the old stone bridge. ";
    const ScopedEnvironmentVariable processes("TOWAV_PROCESSES", "2");
    const SoundFile joined = Convert(text, "out.wav");

    SpeechEngines engines;
    ASSERT_TRUE(engines.IsReady());
    const std::vector<std::int16_t> onePass = SpeechSynthesizer(engines).SynthesizeAll(
        text, {VoiceCatalog::List(engines).front().identifier, 0, 100});
    ASSERT_FALSE(onePass.empty());
    EXPECT_NEAR(static_cast<double>(joined.samples.size()) / onePass.size(), 1.0, 0.01);
    EXPECT_LE(LongestPause(joined.samples), LongestPause(onePass) + 22050 / 50);
    EXPECT_LE(LargestStep(joined.samples), LargestStep(onePass));
}

// The numbers a person reads from --voices are the numbers the converter and the window use.
TEST(ToWavVoices, ListsTheRuntimesVoicesNumberedFromOne) {
    const ConverterRun run = RunConverter({"--voices"});
    ASSERT_EQ(run.status, 0) << run.standardError;
    SpeechEngines engines;
    std::ostringstream expected;
    int number = 0;
    for (const VoiceInfo& voice : VoiceCatalog::List(engines))
        expected << ++number << '\t' << voice.description << '\n';
    EXPECT_GT(number, 1);
    EXPECT_EQ(run.standardOutput, expected.str());
}

// Each Flite voice, chosen by its number in the list, speaks audibly, and as long as the
// runtime speaks with the voice of that number. (The samples themselves differ a little:
// Flite's statistical voices mix noise from the C library's rand() into their sound, and
// its state depends on what the process spoke before.)
TEST(ToWavVoices, FliteVoicesSpeakByNumberAsInTheRuntime) {
    SpeechEngines engines;
    const std::vector<VoiceInfo> voices = VoiceCatalog::List(engines);
    SpeechSynthesizer synthesizer(engines);
    WriteFile("input.txt", kSentence);
    int flite = 0;
    for (std::size_t i = 0; i < voices.size(); ++i) {
        if (!voices[i].description.ends_with(" (Flite)"))
            continue;
        ++flite;
        SCOPED_TRACE(voices[i].description);
        const ConverterRun run =
            RunConverter({"input.txt", "out.wav", std::to_string(i + 1), "0", "100"});
        ASSERT_EQ(run.status, 0) << run.standardError;
        const auto sound = ReadSoundFile("out.wav");
        ASSERT_TRUE(sound);
        EXPECT_EQ(sound->sampleRate, 22050);
        EXPECT_GT(std::ranges::max(sound->samples), 2000);
        EXPECT_EQ(sound->samples.size(),
                  synthesizer.SynthesizeAll(kSentence, {voices[i].identifier}).size());
    }
    EXPECT_EQ(flite, 5);
}

} // namespace
