// A machine without any sound output: Read tells the user so, and the program goes on.
#include "tests/e2e/EndToEndTest.h"

#include "tests/support/FileBytes.h"

namespace {

class NoSoundServerTest : public EndToEndTest {
  protected:
    bool UsesSoundServer() const override { return false; }
};

TEST_F(NoSoundServerTest, ReadShowsTheNoSoundMessageAndTheProgramGoesOn) {
    WriteSettings(TextSettings("Good morning"));
    // PulseAudio is asked at a socket nobody serves, and ALSA knows no device at all.
    const std::string folder = std::filesystem::current_path().string();
    WriteFile("no-devices.conf", "");
    std::filesystem::create_directories("runtime");
    std::filesystem::permissions("runtime", std::filesystem::perms::owner_all);
    QProcessEnvironment sound;
    sound.insert("PULSE_SERVER", QString::fromStdString("unix:" + folder + "/no-server"));
    sound.insert("ALSA_CONFIG_PATH", QString::fromStdString(folder + "/no-devices.conf"));
    sound.insert("XDG_RUNTIME_DIR", QString::fromStdString(folder + "/runtime"));
    ASSERT_TRUE(StartProgram(sound));
    // The title of the program's own message boxes.
    ASSERT_TRUE(Shown("Murmelo").empty()) << "a message before anything was read";

    ASSERT_TRUE(Press({"Return"}));
    ASSERT_TRUE(WaitUntilShown("Murmelo")) << "Read without a sound output showed no message";
    ASSERT_TRUE(Press({"Return"}));
    ASSERT_TRUE(WaitUntilGone("Murmelo"));
    // Still answering the keyboard: the Help notice opens and closes.
    ASSERT_TRUE(Press({"shift+Tab", "space"}));
    ASSERT_TRUE(WaitUntilShown("Info")) << "the program no longer responds";
    ASSERT_TRUE(Press({"Return"}));
    ASSERT_TRUE(WaitUntilGone("Info"));
    ExpectEndsOnEscape();
}

} // namespace
