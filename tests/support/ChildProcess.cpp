#include "tests/support/ChildProcess.h"

#include <csignal>
#include <fstream>
#include <grp.h>
#include <string>
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

ProcessState StateOf(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return ProcessState::Gone;
    // The state letter follows the command name, which is in parentheses and may hold any
    // character.
    const std::size_t end = line.rfind(')');
    if (end == std::string::npos || end + 2 >= line.size())
        return ProcessState::Gone;
    const char state = line[end + 2];
    return state == 'Z' || state == 'X' ? ProcessState::Zombie : ProcessState::Running;
}
