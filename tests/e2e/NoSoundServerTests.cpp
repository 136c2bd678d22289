// A machine without any sound output: Read tells the user so, and the program goes on.
#include "tests/e2e/EndToEndTest.h"

#include <fstream>

namespace {

using std::chrono::seconds;

// The title of the program's own message boxes.
constexpr const char* kMessageTitle = "Murmelo";
constexpr auto kBoxLimit = seconds(10);

class NoSoundServerTest : public EndToEndTest {
  protected:
    bool UsesSoundServer() const override { return false; }
};

TEST_F(NoSoundServerTest, ReadShowsTheNoSoundMessageAndTheProgramGoesOn) {
    WriteSettings({{"InputFileChk", "0"}, {"InputText", "Good morning"}, {"Loop", "1"}});
    // PulseAudio is asked at a socket nobody serves, and ALSA knows no device at all.
    const std::filesystem::path folder = std::filesystem::current_path();
    std::ofstream(folder / "no-devices.conf");
    std::filesystem::create_directories(folder / "runtime");
    std::filesystem::permissions(folder / "runtime", std::filesystem::perms::owner_all);
    ASSERT_TRUE(StartProgram(Environment()
                                 .Set("PULSE_SERVER", "unix:" + (folder / "no-server").string())
                                 .Set("ALSA_CONFIG_PATH", (folder / "no-devices.conf").string())
                                 .Set("XDG_RUNTIME_DIR", (folder / "runtime").string())));
    ASSERT_FALSE(Windows().IsShown(kMessageTitle)) << "a message before anything was read";

    ASSERT_TRUE(Keys().Press({"Return"}));
    ASSERT_TRUE(Windows().WaitUntilShown(kMessageTitle, kBoxLimit))
        << "Read without a sound output showed no message";
    ASSERT_TRUE(Keys().Press({"Return"}));
    ASSERT_TRUE(Windows().WaitUntilGone(kMessageTitle, kBoxLimit));
    // Still answering the keyboard: the Help notice opens and closes.
    ASSERT_TRUE(Keys().Press({"shift+Tab", "space"}));
    ASSERT_TRUE(Windows().WaitUntilShown("Info", kBoxLimit)) << "the program no longer responds";
    ASSERT_TRUE(Keys().Press({"Return"}));
    ASSERT_TRUE(Windows().WaitUntilGone("Info", kBoxLimit));
    ExpectEndsOnEscape();
}

} // namespace
