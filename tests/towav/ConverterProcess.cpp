#include "tests/towav/ConverterProcess.h"

#include "tests/support/ChildProcess.h"

#include <csignal>
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
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0)
        return {};
    const pid_t child = fork();
    if (child == 0) {
        dup2(pipeEnds[1], STDERR_FILENO);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        if (privileges == Privileges::Unprivileged && !DropRootPrivileges())
            _exit(126);
        ExecConverter(arguments);
    }
    close(pipeEnds[1]);
    ConverterRun run;
    std::string chunk(4096, '\0');
    for (ssize_t read = 0; (read = ::read(pipeEnds[0], chunk.data(), chunk.size())) > 0;)
        run.standardError.append(chunk.data(), static_cast<std::size_t>(read));
    close(pipeEnds[0]);
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
