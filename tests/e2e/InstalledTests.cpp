// The program as installed: the launcher in bin/, started from any folder, runs the program
// in the user's data folder, where set.ini, input.txt and the link to the converter live; WAV
// export through the save dialog there leaves the file the converter wrote.
#include "tests/e2e/EndToEndTest.h"

#include "tests/support/Eventually.h"
#include "tests/support/FileBytes.h"
#include "tests/support/SoundFile.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

using InstalledTest = EndToEndTest;

TEST_F(InstalledTest, LauncherRunsTheProgramInTheDataFolderWhereItReadsAndExports) {
    const fs::path data = fs::path(std::getenv("XDG_DATA_HOME")) / "murmelo";
    fs::create_directories(data);
    // Without the input file's key: Read writes one, which shows where the settings are saved.
    WriteSettings("Good morning to you", 2, data);
    // A link left by an older install that lay elsewhere is mended.
    fs::create_symlink("/nonexistent/towav.exe", data / "towav.exe");
    ASSERT_NO_FATAL_FAILURE(StartProgram(Start::InstalledLauncher));

    // The focus starts on Read; Enter presses it, and Read saves the settings.
    const auto heard = SpeechAfter({"Return"});
    ASSERT_TRUE(heard) << "no speech after Enter";
    const fs::path output = fs::current_path() / "speech.wav";
    ASSERT_NO_FATAL_FAILURE(ExportThroughTheSaveDialog(output));
    // The program waits up to 60 s for the converter; a short text takes far less.
    // Should it fail: the windows on the screen (a notice?), the files (a file elsewhere?),
    // whether the converter still runs, and what it says when it is run again by hand.
    const auto shownAndLeft = [&] {
        std::string titles;
        for (const xcb_window_t window : m_display->windows.Shown())
            titles += " \"" + m_display->windows.Title(window) + "\"";
        const QStringList list{
            "-c",
            "ls -lR . \"$0\"; ps -eo pid,stat,etime,args | grep towav; cd \"$0\" && "
            "./towav.exe input.txt again.wav 1 0 100; echo exit $?",
            QString::fromStdString(data.string())};
        return "\nshown:" + titles + "\n" +
               OwnedProcess::Run("sh", list, QProcessEnvironment::systemEnvironment())
                   .value_or("")
                   .toStdString();
    };
    ASSERT_TRUE(Eventually([&] { return SoundFile::Read(output).has_value(); }, 60s, 100ms))
        << "no valid WAV file at " << output << shownAndLeft();
    ExpectEndsOnEscape();

    const SoundFile wav = *SoundFile::Read(output);
    EXPECT_EQ(std::tuple(wav.format, wav.channels, wav.sampleRate),
              std::tuple(SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 22050));
    // The text twice, as the loop count says, and so as long as Read spoke it.
    const double written = static_cast<double>(LoudCount(LevelsOf(wav.samples)));
    std::cout << "Export: " << written << " loud windows written, " << *heard << " heard\n";
    EXPECT_NEAR(written / static_cast<double>(*heard), 1.0, 0.25);
    const fs::path converter = fs::canonical(data / "towav.exe");
    EXPECT_EQ(converter.parent_path().filename() / converter.filename(), "murmelo/towav.exe");
    EXPECT_TRUE(fs::exists(data / "input.txt"));
    EXPECT_NE(ReadFile(data / "set.ini").find("InputFileFile="), std::string::npos);
    EXPECT_FALSE(fs::exists("set.ini")) << "the settings were kept in the starting folder";
}

} // namespace
