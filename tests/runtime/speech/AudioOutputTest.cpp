#include "runtime/speech/AudioOutput.h"
#include "runtime/speech/WavFileSink.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

namespace {

std::vector<std::uint8_t> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::uint32_t Get32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 |
           static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

// Checks that the file is a complete 22050 Hz mono 16-bit WAV file and returns its samples.
std::vector<std::int16_t> SamplesOf(const std::string& path) {
    const std::vector<std::uint8_t> bytes = ReadFile(path);
    EXPECT_GE(bytes.size(), 44u);
    if (bytes.size() < 44)
        return {};
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "RIFF");
    EXPECT_EQ(Get32(bytes, 4), bytes.size() - 8);
    EXPECT_EQ(std::string(bytes.begin() + 8, bytes.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(Get32(bytes, 24), 22050u);
    EXPECT_EQ(bytes[22], 1);  // mono
    EXPECT_EQ(bytes[34], 16); // bits per sample
    EXPECT_EQ(std::string(bytes.begin() + 36, bytes.begin() + 40), "data");
    EXPECT_EQ(Get32(bytes, 40), bytes.size() - 44);
    std::vector<std::int16_t> samples;
    for (std::size_t at = 44; at + 1 < bytes.size(); at += 2)
        samples.push_back(static_cast<std::int16_t>(bytes[at] | bytes[at + 1] << 8));
    return samples;
}

// Each test runs in its own temporary current directory.
class AudioOutputTest : public ::testing::Test {
  protected:
    void TearDown() override { unsetenv("MURMELO_AUDIO"); }

    const std::string path = "speech.wav";
};

TEST_F(AudioOutputTest, WavFileIsValidAfterEveryWriteAndIsContinuedLater) {
    const std::vector<std::int16_t> first = {1, -2, 3};
    const std::vector<std::int16_t> second = {-32768, 32767};
    {
        auto sink = WavFileSink::Open(path);
        ASSERT_TRUE(sink);
        EXPECT_TRUE(SamplesOf(path).empty());
        ASSERT_TRUE(sink->Write(first));
        EXPECT_EQ(SamplesOf(path), first);
    }
    auto sink = WavFileSink::Open(path);
    ASSERT_TRUE(sink);
    ASSERT_TRUE(sink->Write(second));
    EXPECT_EQ(SamplesOf(path), (std::vector<std::int16_t>{1, -2, 3, -32768, 32767}));
}

TEST_F(AudioOutputTest, AFileThatIsNotOurWavFormatIsLeftAlone) {
    std::ofstream(path, std::ios::binary) << "These are somebody's notes, not sound.";
    const std::vector<std::uint8_t> before = ReadFile(path);
    EXPECT_FALSE(WavFileSink::Open(path));
    EXPECT_EQ(ReadFile(path), before);
}

TEST_F(AudioOutputTest, TheEnvironmentChoosesTheOutput) {
    setenv("MURMELO_AUDIO", ("wav:" + path).c_str(), 1);
    EXPECT_TRUE(AudioOutput::OpenConfigured());
    EXPECT_TRUE(std::filesystem::exists(path));

    setenv("MURMELO_AUDIO", "null", 1);
    auto discard = AudioOutput::OpenConfigured();
    ASSERT_TRUE(discard);
    EXPECT_TRUE(discard->Write(std::vector<std::int16_t>(100)));

    for (const char* unknown : {"wav:", "speakers", "NULL"}) {
        setenv("MURMELO_AUDIO", unknown, 1);
        EXPECT_FALSE(AudioOutput::OpenConfigured()) << unknown;
    }
}

TEST_F(AudioOutputTest, APacedSinkTakesSoundAtTheSpeedOfPlayingAndFlushReleasesAWriter) {
    setenv("MURMELO_AUDIO", "null", 1);
    auto sink = AudioOutput::OpenConfigured();
    const std::vector<std::int16_t> halfSecond(11025);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(sink->Write(halfSecond));
    // Three half seconds with a tenth of a second of buffer: the third write waits.
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(850));

    std::thread flusher([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        sink->Flush();
    });
    const auto blocked = std::chrono::steady_clock::now();
    EXPECT_FALSE(sink->Write(halfSecond));
    EXPECT_LT(std::chrono::steady_clock::now() - blocked, std::chrono::milliseconds(300));
    flusher.join();
}

} // namespace
