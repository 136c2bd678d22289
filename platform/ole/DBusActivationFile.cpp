#include "platform/ole/DBusActivationFile.h"

#include <QByteArray>
#include <QDir>
#include <QSaveFile>
#include <QString>

#include <algorithm>
#include <cstdlib>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Characters the bus's shell-like splitting takes literally outside quotes.
bool IsPlainChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("/._-+,:@=").find(c) != std::string_view::npos;
}

std::optional<fs::path> DataHome() {
    // The XDG base directory rules say a relative XDG_DATA_HOME is invalid and must be
    // ignored, which also keeps the file from landing beside the current directory.
    if (const char* dataHome = std::getenv("XDG_DATA_HOME"); dataHome && *dataHome == '/')
        return fs::path(dataHome);
    if (const char* home = std::getenv("HOME"); home && *home == '/')
        return fs::path(home) / ".local" / "share";
    return std::nullopt;
}

std::optional<fs::path> ThisProgram() {
    std::error_code error;
    fs::path program = fs::read_symlink("/proc/self/exe", error);
    if (error || !program.is_absolute())
        return std::nullopt;
    return program;
}

} // namespace

std::optional<fs::path> DBusActivationFile::PathFor(const std::string& busName) {
    const std::optional<fs::path> dataHome = DataHome();
    if (!dataHome)
        return std::nullopt;
    return *dataHome / "dbus-1" / "services" / (busName + ".service");
}

fs::path DBusActivationFile::ProgramToStart(const fs::path& program) {
    // The folder's name alone would also match a build tree that happens to be called so;
    // the launcher beside it in the install layout is what makes it an installed program.
    const fs::path folder = program.parent_path();
    if (!folder.native().ends_with("/" MURMELO_PROGRAM_DIR))
        return program;
    const fs::path launcher =
        (folder / MURMELO_BIN_FROM_PROGRAM_DIR / program.filename()).lexically_normal();
    return access(launcher.c_str(), X_OK) == 0 ? launcher : program;
}

std::optional<std::string> DBusActivationFile::ExecLine(const fs::path& program) {
    const std::string& text = program.native();
    if (text.empty() || text.find_first_of("\n\r") != std::string::npos)
        return std::nullopt;

    // First the bus's shell-like splitting: a path with anything but plain characters is
    // put in single quotes, which keep everything literal except a single quote itself;
    // that one closes the quotes, is given escaped, and opens them again.
    const bool plain = std::all_of(text.begin(), text.end(), IsPlainChar);
    std::string command;
    if (plain) {
        command = text;
    } else {
        command = "'";
        for (char c : text)
            command += c == '\'' ? std::string("'\\''") : std::string(1, c);
        command += "'";
    }
    command += " ";
    command += kAutomationSwitch;

    // Then the file's own escapes, which the bus undoes before it splits: a backslash is
    // written twice (a single one before any other character makes the file invalid).
    std::string line;
    for (char c : command)
        line += c == '\\' ? std::string("\\\\") : std::string(1, c);
    return line;
}

bool DBusActivationFile::Write(const std::string& busName) {
    const std::optional<fs::path> path = PathFor(busName);
    const std::optional<fs::path> program = ThisProgram();
    if (!path || !program)
        return false;
    const std::optional<std::string> exec = ExecLine(ProgramToStart(*program));
    if (!exec)
        return false;

    const QString folder = QString::fromStdString(path->parent_path().native());
    if (!QDir().mkpath(folder))
        return false;

    const std::string contents = "[D-BUS Service]\nName=" + busName + "\nExec=" + *exec + "\n";
    QSaveFile file(QString::fromStdString(path->native()));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = QByteArray::fromStdString(contents);
    if (file.write(bytes) != bytes.size())
        return false;
    return file.commit();
}

bool DBusActivationFile::Remove(const std::string& busName) {
    const std::optional<fs::path> path = PathFor(busName);
    if (!path)
        return false;
    std::error_code error;
    fs::remove(*path, error);
    return !error;
}
