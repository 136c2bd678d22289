#include "tests/e2e/SpawnedProcess.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr auto kPollStep = std::chrono::milliseconds(5);
constexpr auto kGraceTime = std::chrono::seconds(3);

// posix_spawn's argument and environment vectors: pointers into strings that outlive them.
std::vector<char*> PointersTo(const std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    pointers.reserve(strings.size() + 1);
    for (const std::string& text : strings)
        pointers.push_back(const_cast<char*>(text.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

class SpawnSetup {
  public:
    SpawnSetup() {
        posix_spawn_file_actions_init(&actions);
        posix_spawnattr_init(&attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
    ~SpawnSetup() {
        posix_spawnattr_destroy(&attributes);
        posix_spawn_file_actions_destroy(&actions);
    }

    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
};

} // namespace

SpawnedProcess::SpawnedProcess(const std::vector<std::string>& arguments,
                               const Options& options) {
    if (arguments.empty())
        return;
    SpawnSetup setup;
    // The child leads a new process group and starts with no blocked or ignored signals.
    sigset_t noSignals;
    sigemptyset(&noSignals);
    sigset_t defaultSignals;
    sigfillset(&defaultSignals);
    posix_spawnattr_setflags(&setup.attributes,
                             POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK |
                                 POSIX_SPAWN_SETSIGDEF);
    posix_spawnattr_setpgroup(&setup.attributes, 0);
    posix_spawnattr_setsigmask(&setup.attributes, &noSignals);
    posix_spawnattr_setsigdefault(&setup.attributes, &defaultSignals);

    const std::string log = options.log.empty() ? "/dev/null" : options.log.string();
    posix_spawn_file_actions_addopen(&setup.actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (options.outputDescriptor >= 0)
        posix_spawn_file_actions_adddup2(&setup.actions, options.outputDescriptor, STDOUT_FILENO);
    else
        posix_spawn_file_actions_addopen(&setup.actions, STDOUT_FILENO, log.c_str(),
                                         O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_addopen(&setup.actions, STDERR_FILENO, log.c_str(),
                                     O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (options.handedDescriptor >= 0)
        posix_spawn_file_actions_adddup2(&setup.actions, options.handedDescriptor, 3);
    const std::string folder = options.workingFolder.string();
    if (!folder.empty())
        posix_spawn_file_actions_addchdir_np(&setup.actions, folder.c_str());

    std::vector<char*> argv = PointersTo(arguments);
    std::vector<char*> envp = PointersTo(options.environment.Entries());
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &setup.actions, &setup.attributes, argv.data(),
                     envp.data()) == 0)
        m_pid = pid;
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
