#include "tests/e2e/SpawnedProcess.h"

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr auto kPollStep = std::chrono::milliseconds(5);
constexpr auto kGraceTime = std::chrono::seconds(3);

// execve's argument and environment vectors: pointers into strings that outlive them.
std::vector<char*> PointersTo(const std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    pointers.reserve(strings.size() + 1);
    for (const std::string& text : strings)
        pointers.push_back(const_cast<char*>(text.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

// Makes from the child's descriptor to, open across exec.
void MoveDescriptor(int from, int to) {
    if (from == to)
        fcntl(to, F_SETFD, 0);
    else
        dup2(from, to);
}

// What the child does between fork and exec; everything it uses was prepared before the
// fork. Should the exec fail, its errno goes back through failurePipe.
[[noreturn]] void BecomeProgram(char** argv, char** envp, const char* log, int output, int handed,
                                pid_t parent, int failurePipe) {
    setpgid(0, 0);
    // Should the test program itself be killed (a time-out of the test runner), its servers
    // and the program under test go with it instead of staying behind.
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != parent)
        _exit(127);
    sigset_t noSignals;
    sigemptyset(&noSignals);
    sigprocmask(SIG_SETMASK, &noSignals, nullptr);
    struct sigaction byDefault {};
    byDefault.sa_handler = SIG_DFL;
    for (int signal = 1; signal < NSIG; ++signal)
        sigaction(signal, &byDefault, nullptr);

    const int input = open("/dev/null", O_RDONLY | O_CLOEXEC);
    const int logFile = open(log, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    MoveDescriptor(input, STDIN_FILENO);
    MoveDescriptor(output >= 0 ? output : logFile, STDOUT_FILENO);
    MoveDescriptor(logFile, STDERR_FILENO);
    if (handed >= 0)
        MoveDescriptor(handed, 3);
    execvpe(argv[0], argv, envp);
    const int error = errno;
    [[maybe_unused]] const ssize_t written = write(failurePipe, &error, sizeof(error));
    _exit(127);
}

} // namespace

SpawnedProcess::SpawnedProcess(const std::vector<std::string>& arguments, const Options& options) {
    if (arguments.empty())
        return;
    std::vector<char*> argv = PointersTo(arguments);
    std::vector<char*> envp = PointersTo(options.environment.Entries());
    const std::string log = options.log.empty() ? "/dev/null" : options.log.string();
    std::array<int, 2> failure{-1, -1};
    if (pipe2(failure.data(), O_CLOEXEC) != 0)
        return;
    const pid_t parent = getpid();
    const pid_t pid = fork();
    if (pid == 0)
        BecomeProgram(argv.data(), envp.data(), log.c_str(), options.outputDescriptor,
                      options.handedDescriptor, parent, failure[1]);
    close(failure[1]);
    // The pipe closes unread when the exec succeeds.
    int error = 0;
    const ssize_t got = pid > 0 ? read(failure[0], &error, sizeof(error)) : -1;
    close(failure[0]);
    if (pid > 0 && got == 0)
        m_pid = pid;
    else if (pid > 0)
        waitpid(pid, nullptr, 0);
}

SpawnedProcess::~SpawnedProcess() {
    Stop();
}

// An ended child is looked at without being reaped: while it stays a zombie, its process id
// and so its group id cannot be given to anyone else, and Stop can signal the group safely.
bool SpawnedProcess::HasEnded(int options) {
    if (m_exitCode)
        return true;
    if (m_pid <= 0)
        return false;
    siginfo_t info{};
    if (waitid(P_PID, static_cast<id_t>(m_pid), &info, WEXITED | WNOWAIT | options) != 0 ||
        info.si_pid != m_pid)
        return false;
    m_exitCode = info.si_code == CLD_EXITED ? info.si_status : 128 + info.si_status;
    return true;
}

bool SpawnedProcess::IsRunning() {
    return Started() && !HasEnded(WNOHANG);
}

std::optional<int> SpawnedProcess::WaitForExit(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (IsRunning()) {
        if (std::chrono::steady_clock::now() >= deadline)
            return std::nullopt;
        std::this_thread::sleep_for(kPollStep);
    }
    return m_exitCode;
}

void SpawnedProcess::Stop() {
    if (!Started())
        return;
    // The group may outlive its leader (a program the leader started), so it is always
    // told to end.
    kill(-m_pid, SIGTERM);
    if (!WaitForExit(std::chrono::duration_cast<std::chrono::milliseconds>(kGraceTime)))
        kill(-m_pid, SIGKILL);
    HasEnded(0);
    kill(-m_pid, SIGKILL);
    waitpid(m_pid, nullptr, 0);
    m_pid = -1;
}
