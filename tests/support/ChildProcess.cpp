#include "tests/support/ChildProcess.h"

#include <csignal>
#include <grp.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

std::optional<int> RunInChild(const std::function<int()>& body, std::chrono::milliseconds limit) {
    const pid_t child = fork();
    if (child < 0)
        return std::nullopt;
    if (child == 0)
        _exit(body());
    const auto deadline = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (waitpid(child, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (!WIFEXITED(status))
        return std::nullopt;
    return WEXITSTATUS(status);
}

bool DropRootPrivileges() {
    if (geteuid() != 0)
        return true;
    constexpr uid_t kNobody = 65534;
    return setgroups(0, nullptr) == 0 && setgid(kNobody) == 0 && setuid(kNobody) == 0;
}
