#include "runtime/speech/AudioOutput.h"
#include "runtime/speech/WavFileSink.h"

#include "tests/support/FileBytes.h"
#include "tests/support/WavFileInfo.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

namespace {

// The file's samples, checking that it is a complete 22050 Hz mono 16-bit WAV file.
std::vector<std::int16_t> SamplesOf(const char* path) {
    const std::optional<WavFileInfo> wav = WavFileInfo::Read(path);
    EXPECT_TRUE(wav && wav->format == 1 && wav->sampleRate == 22050 && wav->channels == 1 &&
                wav->bitsPerSample == 16);
    std::vector<std::int16_t> samples(wav ? wav->samples.size() / 2 : 0);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<std::int16_t>(static_cast<std::uint8_t>(wav->samples[2 * i]) |
                                               wav->samples[2 * i + 1] << 8);
    return samples;
}

class AudioOutputTest : public ::testing::Test {
  protected:
    void TearDown() override { unsetenv("MURMELO_AUDIO"); }
};

TEST_F(AudioOutputTest, WavFileIsValidAfterEveryWriteAndIsContinuedLater) {
    {
        auto sink = WavFileSink::Open("speech.wav");
        ASSERT_TRUE(sink);
        EXPECT_TRUE(SamplesOf("speech.wav").empty());
        ASSERT_TRUE(sink->Write(std::vector<std::int16_t>{1, -2, 3}));
        EXPECT_EQ(SamplesOf("speech.wav"), (std::vector<std::int16_t>{1, -2, 3}));
    }
    auto sink = WavFileSink::Open("speech.wav");
    ASSERT_TRUE(sink);
    ASSERT_TRUE(sink->Write(std::vector<std::int16_t>{-32768, 32767}));
    EXPECT_EQ(SamplesOf("speech.wav"), (std::vector<std::int16_t>{1, -2, 3, -32768, 32767}));
}

TEST_F(AudioOutputTest, AFileThatIsNotOurWavFormatIsLeftAlone) {
    WriteFile("speech.wav", "These are somebody's notes, not sound.");
    EXPECT_FALSE(WavFileSink::Open("speech.wav"));
    EXPECT_EQ(ReadFile("speech.wav"), "These are somebody's notes, not sound.");
}

TEST_F(AudioOutputTest, TheEnvironmentChoosesTheOutput) {
    setenv("MURMELO_AUDIO", "wav:speech.wav", 1);
    EXPECT_TRUE(AudioOutput::OpenConfigured());
    EXPECT_TRUE(std::filesystem::exists("speech.wav"));
    for (const char* unknown : {"wav:", "speakers", "NULL"}) {
        setenv("MURMELO_AUDIO", unknown, 1);
        EXPECT_FALSE(AudioOutput::OpenConfigured()) << unknown;
    }
}

// "null" discards the sound, but as slowly as a sound card would play it; a purge's Flush
// releases a writer that waits for the card, and its sound is not taken.
TEST_F(AudioOutputTest, FlushReleasesAWriterOfThePacedNullOutput) {
    setenv("MURMELO_AUDIO", "null", 1);
    const std::shared_ptr<AudioSink> sink = AudioOutput::OpenConfigured();
    ASSERT_TRUE(sink && sink->PlaysAtSoundCardPace());
    const std::vector<std::int16_t> halfSecond(11025);
    ASSERT_TRUE(sink->Write(halfSecond));
    std::thread flusher([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        sink->Flush();
    });
    EXPECT_FALSE(sink->Write(halfSecond));
    flusher.join();
}

} // namespace
