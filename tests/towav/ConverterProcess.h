#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

// The real towav.exe run as a child process, as the dialog runs it: from an argument
// vector, no shell.
struct ConverterRun {
    // The exit status, or nothing when the converter was ended by a signal.
    std::optional<int> status;
    std::string standardOutput;
    std::string standardError;
};

enum class Privileges { Own, Unprivileged };

ConverterRun RunConverter(const std::vector<std::string>& arguments,
                          Privileges privileges = Privileges::Own);

// Starts the converter, kills it with SIGKILL after the delay, and reports whether it was
// still running then.
bool KillConverterAfter(const std::vector<std::string>& arguments, std::chrono::milliseconds delay);

// How many converter processes (the converter and its workers) run in the current folder.
std::size_t ConvertersRunningHere();

// What the current folder holds, names sorted, sub-folders' entries as "folder/name",
// leaving out the test's XDG folders.
std::vector<std::string> FolderEntries();
