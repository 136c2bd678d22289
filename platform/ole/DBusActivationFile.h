#pragma once

#include <filesystem>
#include <optional>
#include <string>

// The D-Bus activation file through which the session bus starts this program for a
// client that asks for a bus name nobody owns. It stands in for a class factory's registry
// entries: "$XDG_DATA_HOME/dbus-1/services/<name>.service", naming this program's absolute
// path (or, installed, its launcher's) with the automation switch.
class DBusActivationFile {
  public:
    // The switch the bus passes to a program it starts for a client.
    static constexpr const char* kAutomationSwitch = "-Automation";

    // Where the file of a bus name lives, or nothing when no data folder can be found.
    static std::optional<std::filesystem::path> PathFor(const std::string& busName);

    // What the bus must start for the program at `program`. Installed, the program lies in
    // PREFIX/libexec/murmelo and is started through the launcher PREFIX/bin/murmelo, which
    // first changes into the user's data folder, as a start from the menu does; anywhere else
    // (the build tree) the program itself, in the bus's own current folder.
    static std::filesystem::path ProgramToStart(const std::filesystem::path& program);

    // The Exec value, as written in the file, that starts the program at `program` with the
    // automation switch. The bus reads the file's escapes and then splits the command like
    // a shell, so a path with blanks, quotes or backslashes is quoted and escaped for both.
    // Nothing when the path cannot be written on one line.
    static std::optional<std::string> ExecLine(const std::filesystem::path& program);

    // Writes the file atomically (a temporary file renamed over the old one), creating the
    // folders. False when anything fails; the old file, if any, is then left as it was.
    static bool Write(const std::string& busName);
    // Removes the file; a file that is not there counts as removed.
    static bool Remove(const std::string& busName);
};
