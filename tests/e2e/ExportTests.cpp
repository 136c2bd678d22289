// WAV export as a person does it: ToWav, a file name typed into the save dialog, and the
// converter towav.exe beside the program writing the file.
#include "tests/e2e/EndToEndTest.h"
#include "tests/e2e/Polling.h"
#include "tests/support/WavFileInfo.h"

#include <cstring>
#include <vector>

namespace {

using std::chrono::seconds;

constexpr const char* kSaveDialog = "Save As";
constexpr auto kDialogLimit = seconds(10);
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

    // Shift+Tab from Read goes back over Help and the browse button to ToWav.
    ASSERT_TRUE(Keys().Press({"shift+Tab", "shift+Tab", "shift+Tab", "space"}));
    ASSERT_TRUE(Windows().WaitUntilShown(kSaveDialog, kDialogLimit)) << "no save dialog";
    const std::vector<std::string> fileDialog = Windows().Shown(kSaveDialog);
    ASSERT_TRUE(Keys().Type(output.string()));
    ASSERT_TRUE(Keys().Press({"Return"}));
    // A new file is created only when the user agrees, in a question of the same title in
    // place of the dialog; Enter takes the proposed Yes.
    ASSERT_TRUE(WaitUntil(
        [&] {
            const std::vector<std::string> shown = Windows().Shown(kSaveDialog);
            return !shown.empty() && shown != fileDialog;
        },
        kDialogLimit, std::chrono::milliseconds(50)))
        << "no question whether to create the new file";
    ASSERT_TRUE(Keys().Press({"Return"}));
    ASSERT_TRUE(Windows().WaitUntilGone(kSaveDialog, kDialogLimit));

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
