#pragma once

#include "platform/base/WinTypes.h"
#include "platform/process/WaitResult.h"

#include <chrono>
#include <optional>
#include <sys/types.h>

// A started program that this process has not yet reaped, with a pidfd to wait on it.
// Letting go of it (Release, or the destructor) never ends the program: it runs on, and
// is reaped in the background when it ends, so it does not stay a zombie.
class ChildProcess {
  public:
    // Takes over the child pid. pidfd may be -1 where the kernel offers none; waits then
    // poll the child's state instead of sleeping on the descriptor.
    ChildProcess(pid_t pid, int pidfd) noexcept : m_pid(pid), m_pidfd(pidfd) {}
    ChildProcess(ChildProcess&& other) noexcept;
    ChildProcess& operator=(ChildProcess&& other) noexcept;
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    ~ChildProcess() { Release(); }

    // The program's process id as the window queries report it; 0 once released.
    DWORD ProcessId() const { return static_cast<DWORD>(m_pid); }

    // Waits at most timeout for the program to end. Once it has ended, every further call
    // gives the same result at once.
    WaitResult Wait(std::chrono::milliseconds timeout);

    // Closes the handles without ending the program.
    void Release() noexcept;

  private:
    std::optional<WaitResult> TryReap();
    WaitResult SleepUntilEnded(std::chrono::steady_clock::time_point deadline);

    pid_t m_pid = 0;
    int m_pidfd = -1;
    std::optional<WaitResult> m_ended;
};
