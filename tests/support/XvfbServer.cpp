#include "tests/support/XvfbServer.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {
constexpr int kStartTimeoutMs = 10000;
}

XvfbServer::XvfbServer() {
    // Xvfb writes the display number it chose to the -displayfd descriptor once it accepts
    // connections, so the tests neither guess a free number nor race the server's start.
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) {
        m_problem = std::string("no pipe: ") + strerror(errno);
        return;
    }
    // -noreset: by default the server resets when its last client leaves and refuses
    // connections meanwhile, which races the next test's connection.
    std::vector<std::string> arguments{"Xvfb",     "-displayfd", "3", "-nolisten",  "tcp",
                                       "-noreset", "-screen",    "0", "1024x768x24"};
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 3); // dup2 clears close-on-exec
    const int error = posix_spawnp(&m_pid, "Xvfb", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (error != 0) {
        m_pid = 0;
        m_problem = std::string("Xvfb cannot be started: ") + strerror(error);
        close(fds[0]);
        return;
    }
    std::string number;
    pollfd ready{fds[0], POLLIN, 0};
    char digit = 0;
    while (poll(&ready, 1, kStartTimeoutMs) == 1 && read(fds[0], &digit, 1) == 1 && digit != '\n')
        number += digit;
    close(fds[0]);
    if (number.empty() || digit != '\n') {
        m_problem = "Xvfb did not report a display";
        return;
    }
    m_display = ":" + number;
}

XvfbServer::~XvfbServer() {
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
    }
}
