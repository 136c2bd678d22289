#pragma once

#include "platform/process/ChildProcess.h"

#include <optional>

// The outcome of starting a program: the running child, or the errno that explains why the
// program could not be started (ENOENT for a missing program, EACCES for one that may not
// be run, ENOEXEC for a file that is no program).
struct StartResult {
    std::optional<ChildProcess> process;
    int error = 0;

    explicit operator bool() const { return process.has_value(); }
};
