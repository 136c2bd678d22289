#include "tests/towav/ConverterProcess.h"

#include "tests/support/ChildProcess.h"

#include <csignal>
#include <poll.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// In the forked child: becomes the converter with the given arguments.
[[noreturn]] void ExecConverter(const std::vector<std::string>& arguments) {
    std::vector<char*> argv{const_cast<char*>(TOWAV_PATH)};
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    execv(TOWAV_PATH, argv.data());
    _exit(127);
}

} // namespace

ConverterRun RunConverter(const std::vector<std::string>& arguments, Privileges privileges) {
    int output[2];
    int error[2];
    if (pipe(output) != 0 || pipe(error) != 0)
        return {};
    const pid_t child = fork();
    if (child == 0) {
        dup2(output[1], STDOUT_FILENO);
        dup2(error[1], STDERR_FILENO);
        for (const int end : {output[0], output[1], error[0], error[1]})
            close(end);
        if (privileges == Privileges::Unprivileged && !DropRootPrivileges())
            _exit(126);
        ExecConverter(arguments);
    }
    close(output[1]);
    close(error[1]);
    ConverterRun run;
    // Both pipes are read as the converter fills them, so neither can block it.
    pollfd ends[] = {{output[0], POLLIN, 0}, {error[0], POLLIN, 0}};
    std::string* texts[] = {&run.standardOutput, &run.standardError};
    std::string chunk(4096, '\0');
    while (ends[0].fd >= 0 || ends[1].fd >= 0) {
        if (poll(ends, 2, -1) < 0)
            break;
        for (int i = 0; i < 2; ++i) {
            if (ends[i].fd < 0 || ends[i].revents == 0)
                continue;
            const ssize_t read = ::read(ends[i].fd, chunk.data(), chunk.size());
            if (read > 0) {
                texts[i]->append(chunk.data(), static_cast<std::size_t>(read));
            } else {
                close(ends[i].fd);
                ends[i].fd = -1;
            }
        }
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (WIFEXITED(status))
        run.status = WEXITSTATUS(status);
    return run;
}

bool KillConverterAfter(const std::vector<std::string>& arguments,
                        std::chrono::milliseconds delay) {
    const pid_t child = fork();
    if (child == 0)
        ExecConverter(arguments);
    std::this_thread::sleep_for(delay);
    const bool running = waitpid(child, nullptr, WNOHANG) == 0;
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    return running;
}
