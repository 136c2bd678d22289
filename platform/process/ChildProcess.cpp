#include "platform/process/ChildProcess.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <poll.h>
#include <sys/wait.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <utility>

namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

// Without a pidfd the wait looks at the child this often.
constexpr milliseconds kPollStep{10};

std::optional<WaitResult> ResultOf(int status) {
    if (WIFEXITED(status)) {
        return WaitResult{WaitStatus::Exited, WEXITSTATUS(status)};
    }
    if (WIFSIGNALED(status)) {
        return WaitResult{WaitStatus::Signalled, WTERMSIG(status)};
    }
    return std::nullopt;
}

steady_clock::time_point DeadlineAfter(milliseconds timeout) {
    auto now = steady_clock::now();
    auto longest = std::chrono::duration_cast<milliseconds>(steady_clock::time_point::max() - now);
    if (timeout >= longest) {
        return steady_clock::time_point::max();
    }
    return now + std::max(timeout, milliseconds::zero());
}

int PollMilliseconds(steady_clock::duration remaining) {
    auto rounded_up = std::chrono::ceil<milliseconds>(remaining).count();
    return rounded_up > INT_MAX ? INT_MAX : static_cast<int>(rounded_up);
}

// A released child that is still running is reaped by a thread of its own, which sleeps in
// waitpid until the child ends. Nothing else in the program reaps this pid, so the pid
// cannot be reused meanwhile. Catch-all reaping (SIGCHLD handlers, waitpid(-1)) would take
// the exit status of children that other code (Qt's QProcess) waits for, so it is not used.
void ReapInBackground(pid_t pid) {
    if (waitpid(pid, nullptr, WNOHANG) != 0) {
        return; // already ended and now reaped, or not ours to reap
    }
    try {
        std::thread([pid] {
            while (waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
            }
        }).detach();
    } catch (const std::system_error&) {
        // Without a thread the child stays a zombie until this process ends and init
        // adopts and reaps it; the child itself is not harmed.
    }
}

} // namespace

ChildProcess::ChildProcess(ChildProcess&& other) noexcept
    : m_pid(std::exchange(other.m_pid, 0)), m_pidfd(std::exchange(other.m_pidfd, -1)),
      m_ended(std::exchange(other.m_ended, std::nullopt)) {}

ChildProcess& ChildProcess::operator=(ChildProcess&& other) noexcept {
    if (this != &other) {
        Release();
        m_pid = std::exchange(other.m_pid, 0);
        m_pidfd = std::exchange(other.m_pidfd, -1);
        m_ended = std::exchange(other.m_ended, std::nullopt);
    }
    return *this;
}

WaitResult ChildProcess::Wait(milliseconds timeout) {
    if (m_ended) {
        return *m_ended;
    }
    if (m_pid <= 0) {
        return {WaitStatus::Failed, ECHILD};
    }
    return SleepUntilEnded(DeadlineAfter(timeout));
}

WaitResult ChildProcess::SleepUntilEnded(steady_clock::time_point deadline) {
    for (;;) {
        if (auto reaped = TryReap()) {
            return *reaped;
        }
        auto now = steady_clock::now();
        if (now >= deadline) {
            return {WaitStatus::TimedOut, 0};
        }
        if (m_pidfd < 0) {
            std::this_thread::sleep_for(
                std::min<steady_clock::duration>(deadline - now, kPollStep));
            continue;
        }
        // The pidfd becomes readable when the child ends; the loop then reaps it.
        pollfd ready{m_pidfd, POLLIN, 0};
        if (poll(&ready, 1, PollMilliseconds(deadline - now)) < 0 && errno != EINTR) {
            return {WaitStatus::Failed, errno};
        }
    }
}

std::optional<WaitResult> ChildProcess::TryReap() {
    int status = 0;
    pid_t reaped = waitpid(m_pid, &status, WNOHANG);
    if (reaped == m_pid) {
        m_ended = ResultOf(status);
        return m_ended;
    }
    if (reaped < 0 && errno != EINTR) {
        // Someone else reaped the child (SIGCHLD set to be ignored, say); its status is lost.
        m_ended = WaitResult{WaitStatus::Failed, errno};
        return m_ended;
    }
    return std::nullopt;
}

void ChildProcess::Release() noexcept {
    if (m_pidfd >= 0) {
        close(m_pidfd);
        m_pidfd = -1;
    }
    if (m_pid > 0 && !m_ended) {
        ReapInBackground(m_pid);
    }
    m_pid = 0;
}
