#include "platform/process/CreateProcess.h"

#include <cerrno>
#include <csignal>
#include <spawn.h>
#include <sys/syscall.h>
#include <unistd.h>

extern char** environ;

namespace {

// Called through syscall(): glibc's own wrapper is recent, and its 2.36 header lacks the
// C linkage that C++ needs.
int OpenPidfd(pid_t pid) {
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
}

// posix_spawn's attribute objects, released however the start ends.
class SpawnSettings {
  public:
    // A standardError of 0 or more becomes the child's standard error.
    explicit SpawnSettings(int standardError) {
        posix_spawnattr_init(&m_attributes);
        posix_spawn_file_actions_init(&m_actions);

        // Signals the dialog process blocks or ignores must not carry over into the child.
        sigset_t none;
        sigemptyset(&none);
        sigset_t all;
        sigfillset(&all);
        posix_spawnattr_setsigmask(&m_attributes, &none);
        posix_spawnattr_setsigdefault(&m_attributes, &all);
        posix_spawnattr_setflags(&m_attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

        // The duplicate loses close-on-exec, and it is made before everything else closes.
        if (standardError >= 0)
            posix_spawn_file_actions_adddup2(&m_actions, standardError, 2);
        // No handle inheritance: only the standard streams reach the child.
        posix_spawn_file_actions_addclosefrom_np(&m_actions, 3);
    }
    ~SpawnSettings() {
        posix_spawn_file_actions_destroy(&m_actions);
        posix_spawnattr_destroy(&m_attributes);
    }
    SpawnSettings(const SpawnSettings&) = delete;
    SpawnSettings& operator=(const SpawnSettings&) = delete;

    const posix_spawnattr_t* attributes() const { return &m_attributes; }
    const posix_spawn_file_actions_t* actions() const { return &m_actions; }

  private:
    posix_spawnattr_t m_attributes;
    posix_spawn_file_actions_t m_actions;
};

} // namespace

StartResult CreateProcessA(const std::vector<std::string>& arguments,
                           [[maybe_unused]] Launch launch, const CapturedOutput* errors) {
    if (arguments.empty() || arguments.front().empty()) {
        return {std::nullopt, EINVAL};
    }
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);

    // glibc starts the child with clone(CLONE_VFORK) and hands back exec's errno, so a
    // missing or unrunnable program is reported here rather than as exit status 127. Unlike
    // execvp, posix_spawnp never falls back to running a file through /bin/sh.
    SpawnSettings settings(errors ? errors->Descriptor() : -1);
    pid_t pid = 0;
    int error = posix_spawnp(&pid, argv.front(), settings.actions(), settings.attributes(),
                             argv.data(), environ);
    if (error != 0) {
        return {std::nullopt, error};
    }
    // A kernel without pidfds (before 5.3) leaves -1; the wait then polls instead.
    return {ChildProcess(pid, OpenPidfd(pid)), 0};
}
