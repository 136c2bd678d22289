// The program as installed: the launcher in bin/, started from any folder, runs the program
// in the user's data folder, where set.ini, input.txt and the link to the converter live.
#include "tests/e2e/EndToEndTest.h"
#include "tests/e2e/Polling.h"
#include "tests/support/WavFileInfo.h"

#include <cstdlib>

namespace {

namespace fs = std::filesystem;
using std::chrono::milliseconds;
using std::chrono::seconds;

using InstalledTest = EndToEndTest;

TEST_F(InstalledTest, LauncherRunsTheProgramInTheDataFolder) {
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    ASSERT_NE(dataHome, nullptr);
    const fs::path data = fs::path(dataHome) / "murmelo";
    fs::create_directories(data);
    // Without a Rate key: Read writes one, which shows where the settings are saved.
    WriteSettings({{"InputFileChk", "0"},
                   {"InputText", "Good morning to you"},
                   {"Volume", "100"},
                   {"Voice", "0"},
                   {"Loop", "1"}},
                  data);
    // A link left by an older install that lay elsewhere is mended.
    fs::create_symlink("/nonexistent/towav.exe", data / "towav.exe");
    ASSERT_TRUE(StartInstalledProgram());
    const std::size_t before = Recorder().SampleCount();

    // The focus starts on Read; Enter presses it, and Read saves the settings.
    ASSERT_TRUE(Keys().Press({"Return"}));
    const std::optional<std::size_t> start = WaitForSound(before, seconds(10));
    ASSERT_TRUE(start) << "no sound reached the sound server within 10 s of Enter";
    ASSERT_TRUE(WaitForQuiet(*start, milliseconds(800), seconds(30)));

    const fs::path output = fs::current_path() / "speech.wav";
    ASSERT_TRUE(ExportThroughTheSaveDialog(output));
    ASSERT_TRUE(WaitUntil([&] { return WavFileInfo::Read(output).has_value(); }, seconds(60),
                          milliseconds(100)))
        << "no valid WAV file at " << output;
    ExpectEndsOnEscape();

    EXPECT_TRUE(fs::is_symlink(data / "towav.exe"));
    EXPECT_EQ(fs::canonical(data / "towav.exe").filename(), "towav.exe");
    EXPECT_EQ(fs::canonical(data / "towav.exe").parent_path().filename(), "murmelo");
    EXPECT_TRUE(fs::exists(data / "input.txt"));
    EXPECT_NE(FileText(data / "set.ini").find("Rate="), std::string::npos);
    EXPECT_FALSE(fs::exists("set.ini")) << "the program kept its settings in the folder it was "
                                           "started from";
}

} // namespace
