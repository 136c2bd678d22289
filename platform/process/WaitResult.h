#pragma once

// How a wait for a started program ended.
enum class WaitStatus {
    Exited,    // the program ended; code is its exit status
    Signalled, // a signal ended the program; code is the signal's number
    TimedOut,  // the program is still running when the time ran out; code is 0
    Failed,    // the program cannot be waited for; code is the errno
};

struct WaitResult {
    WaitStatus status = WaitStatus::Failed;
    int code = 0;

    friend bool operator==(const WaitResult&, const WaitResult&) = default;
};
