#include "tests/platform/process/XvfbServer.h"

#include <cerrno>
#include <csignal>
#include <cstring>
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
    if (pipe(fds) != 0) {
        m_problem = std::string("no pipe: ") + strerror(errno);
        return;
    }
    std::string fd = std::to_string(fds[1]);
    // -noreset: by default the server resets when its last client leaves and refuses
    // connections meanwhile, which races the next test's connection.
    std::vector<std::string> arguments{"Xvfb",     "-displayfd", fd,  "-nolisten", "tcp",
                                       "-noreset", "-screen",    "0", "320x240x24"};
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    int error = posix_spawnp(&m_pid, "Xvfb", nullptr, nullptr, argv.data(), environ);
    close(fds[1]);
    if (error != 0) {
        m_pid = 0;
        m_problem = std::string("Xvfb cannot be started: ") + strerror(error);
        close(fds[0]);
        return;
    }
    pollfd ready{fds[0], POLLIN, 0};
    std::string digits(16, '\0');
    ssize_t length = 0;
    if (poll(&ready, 1, kStartTimeoutMs) == 1) {
        length = read(fds[0], digits.data(), digits.size());
    }
    close(fds[0]);
    if (length <= 0) {
        m_problem = "Xvfb did not report a display";
        kill(m_pid, SIGKILL);
        waitpid(m_pid, nullptr, 0);
        m_pid = 0;
        return;
    }
    m_display = ":" + std::to_string(std::stoi(digits.substr(0, static_cast<std::size_t>(length))));
}

XvfbServer::~XvfbServer() {
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
    }
}
