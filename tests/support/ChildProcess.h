#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <sys/types.h>

// Runs body in a forked child, so that a test can change process limits or its user, or
// survive a call that blocks. Returns the child's exit code, or nothing when it did not
// exit normally within the time limit (it is then killed).
std::optional<int> RunInChild(const std::function<int()>& body,
                              std::chrono::milliseconds limit = std::chrono::seconds(10));

// In a child: gives up root, so that file permissions apply. False when that failed.
bool DropRootPrivileges();

// What /proc says of a process: alive, ended but not yet reaped by its parent, or gone.
enum class ProcessState { Running, Zombie, Gone };
ProcessState StateOf(pid_t pid);
inline bool ProcessEnded(pid_t pid) {
    return StateOf(pid) != ProcessState::Running;
}
