#include "tests/export/FakeConverter.h"

#include "tests/support/FileBytes.h"

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

// The text in single quotes for the shell, with every single quote spelled '\''.
std::string Quoted(const std::string& text) {
    std::string quoted = "'";
    for (char c : text)
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

} // namespace

void FakeConverter::Install() const {
    std::ostringstream script;
    script << "#!/bin/sh\n"
           << "echo $$ > converter.pid\n"
           << "printf '%s\\n' \"$#\" \"$0\" \"$@\" > converter-args.txt\n";
    for (const std::string& line : errorLines)
        script << "printf '%s\\n' " << Quoted(line) << " >&2\n";
    if (sleepSeconds > 0)
        script << "sleep " << sleepSeconds << "\n";
    if (!becomes.empty()) {
        script << "exec";
        for (const std::string& argument : becomes)
            script << ' ' << Quoted(argument);
        script << "\n";
    }
    if (writesOutput)
        script << "printf 'RIFF' > \"$2\"\n";
    script << "exit " << exitCode << "\n";
    WriteFile("towav.exe", script.str());
    std::filesystem::permissions("towav.exe", std::filesystem::perms::owner_all);
}

std::vector<std::string> FakeConverter::RecordedCall() {
    std::vector<std::string> lines;
    std::ifstream file("converter-args.txt");
    for (std::string line; std::getline(file, line);)
        lines.push_back(line);
    return lines;
}

void FakeConverter::Kill() {
    std::ifstream file("converter.pid");
    pid_t pid = 0;
    if (file >> pid && pid > 0)
        kill(pid, SIGKILL);
}
