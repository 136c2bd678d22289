// A machine without any sound output: Read tells the user so, and the program goes on; the
// windows a person opens besides the main one, the Help notice and the about box, open and
// close as ever.
#include "tests/e2e/EndToEndTest.h"

#include "tests/support/FileBytes.h"

namespace {

class NoSoundServerTest : public EndToEndTest {
  protected:
    bool UsesSoundServer() const override { return false; }
};

TEST_F(NoSoundServerTest, ReadShowsTheNoSoundMessageAndTheBoxesStillOpenAndClose) {
    const struct {
        const char* name;
        std::vector<std::string> open;
        const char* title;
        const char* close;
    } rows[] = {
        // Read, the focused button, with no sound output; the title of the program's boxes.
        {"no sound message", {"Return"}, "Murmelo", "Return"},
        // Shift+Tab from Read wraps round to Help, the last button in the tab order.
        {"Help notice", {"shift+Tab", "space"}, "Info", "Return"},
        // The system menu's about entry, by its mnemonic.
        {"about box", {"alt+space", "a"}, "关于 Murmelo", "Escape"},
    };
    WriteSettings("Good morning");
    // PulseAudio is asked at a socket nobody serves, and ALSA knows no device at all.
    const std::string folder = std::filesystem::current_path().string();
    WriteFile("no-devices.conf", "");
    std::filesystem::create_directories("runtime");
    std::filesystem::permissions("runtime", std::filesystem::perms::owner_all);
    QProcessEnvironment sound;
    sound.insert("PULSE_SERVER", QString::fromStdString("unix:" + folder + "/no-server"));
    sound.insert("ALSA_CONFIG_PATH", QString::fromStdString(folder + "/no-devices.conf"));
    sound.insert("XDG_RUNTIME_DIR", QString::fromStdString(folder + "/runtime"));
    ASSERT_NO_FATAL_FAILURE(StartProgram(Start::BuiltProgram, sound));
    ASSERT_TRUE(Shown("Murmelo").empty()) << "a message before anything was read";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(PressOneByOne(row.open));
        ASSERT_TRUE(WaitUntilShown(row.title)) << "the box did not open";
        ASSERT_TRUE(Press({row.close}));
        ASSERT_TRUE(WaitUntilShown(row.title, false)) << "the box did not close";
    }
    ExpectEndsOnEscape();
}

} // namespace
