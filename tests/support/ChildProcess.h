#pragma once

#include <chrono>
#include <functional>
#include <optional>

// Runs body in a forked child, so that a test can change process limits or its user, or
// survive a call that blocks. Returns the child's exit code, or nothing when it did not
// exit normally within the time limit (it is then killed).
std::optional<int> RunInChild(const std::function<int()>& body,
                              std::chrono::milliseconds limit = std::chrono::seconds(10));

// In a child: gives up root, so that file permissions apply. False when that failed.
bool DropRootPrivileges();
