// WAV export as a person does it: ToWav, a file name typed into the save dialog, and the
// converter towav.exe beside the program writing the file.
#include "tests/e2e/EndToEndTest.h"
#include "tests/e2e/Polling.h"
#include "tests/support/WavFileInfo.h"

#include <cstring>
#include <vector>

namespace {

using std::chrono::seconds;

// The program waits up to 60 s for the converter; a short text takes far less.
constexpr auto kConversionLimit = seconds(60);

using ExportTest = EndToEndTest;

TEST_F(ExportTest, ToWavWithATypedFileNameLeavesAValidWavFile) {
    WriteSettings({{"InputFileChk", "0"},
                   {"InputText", "Good morning to you"},
                   {"Rate", "0"},
                   {"Volume", "100"},
                   {"Voice", "0"},
                   {"Loop", "2"}});
    ASSERT_TRUE(StartProgram());
    const std::filesystem::path output = std::filesystem::current_path() / "speech.wav";

    ASSERT_TRUE(ExportThroughTheSaveDialog(output));

    ASSERT_TRUE(WaitUntil([&] { return WavFileInfo::Read(output).has_value(); }, kConversionLimit,
                          std::chrono::milliseconds(100)))
        << "no valid WAV file at " << output;
    const WavFileInfo wav = *WavFileInfo::Read(output);
    EXPECT_EQ(wav.format, 1);
    EXPECT_EQ(wav.channels, 1);
    EXPECT_EQ(wav.sampleRate, 22050u);
    EXPECT_EQ(wav.bitsPerSample, 16);
    std::vector<std::int16_t> samples(wav.samples.size() / 2);
    std::memcpy(samples.data(), wav.samples.data(), samples.size() * 2);
    // The text twice, as the loop count says: well over a second of speech.
    const SoundLevels levels(samples);
    EXPECT_GT(levels.LoudCount(), 100u) << "the file holds less than a second of speech";
    ExpectEndsOnEscape();
}

} // namespace
