#include "tests/e2e/MurmeloProgram.h"

#include <cstdlib>

namespace {

// Where the tests keep what the program needs beside its current folder.
constexpr const char* kSupportFolder = "program-support";

// A file manager that shows nothing: after an export the program opens the folder of the
// new file, which on a desktop would open a window the tests do not want.
void PlaceSilentFileManager(const std::filesystem::path& bin) {
    std::error_code error;
    std::filesystem::create_directories(bin, error);
    const std::filesystem::path doNothing =
        std::filesystem::exists("/usr/bin/true") ? "/usr/bin/true" : "/bin/true";
    std::filesystem::create_symlink(doNothing, bin / "xdg-open", error);
}

} // namespace

MurmeloProgram::MurmeloProgram(const std::string& display, const Environment& sound,
                               const std::filesystem::path& log, Start start) {
    const std::filesystem::path folder = std::filesystem::current_path();
    const std::filesystem::path support = folder / kSupportFolder;
    std::error_code error;
    if (start == Start::BuiltProgram)
        std::filesystem::create_symlink(TOWAV_PROGRAM, folder / "towav.exe", error);
    PlaceSilentFileManager(support / "bin");
    std::filesystem::create_directories(support / "home", error);

    Environment environment = Environment::Inherited();
    // No choice of sound output: the program plays to the default device, as for a user.
    environment.Remove("MURMELO_AUDIO");
    for (const std::string& entry : sound.Entries()) {
        const auto equals = entry.find('=');
        environment.Set(entry.substr(0, equals), entry.substr(equals + 1));
    }
    const char* path = std::getenv("PATH");
    environment.Set("DISPLAY", display)
        .Set("QT_QPA_PLATFORM", "xcb")
        .Set("HOME", (support / "home").string())
        .Set("PATH", (support / "bin").string() + ":" + (path ? path : "/usr/bin:/bin"))
        // No session bus: neither the desktop's file manager nor an automatically launched
        // bus daemon that would outlive the test.
        .Set("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + (support / "no-session-bus").string());

    SpawnedProcess::Options options;
    options.environment = std::move(environment);
    options.log = log;
    const char* program =
        start == Start::BuiltProgram ? MURMELO_PROGRAM : MURMELO_INSTALLED_LAUNCHER;
    m_process = std::make_unique<SpawnedProcess>(std::vector<std::string>{program}, options);
}
