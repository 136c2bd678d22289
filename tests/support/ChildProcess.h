#pragma once

#include <QProcess>

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <sys/types.h>

// Runs body in a forked child, so that a test can change process limits or its user, or
// survive a call that blocks. Returns the child's exit code, or nothing when it did not
// exit normally within the time limit (it is then killed).
std::optional<int> RunInChild(const std::function<int()>& body,
                              std::chrono::milliseconds limit = std::chrono::seconds(10));

// In a child: gives up root, so that file permissions apply. False when that failed.
bool DropRootPrivileges();

// What /proc says of a process: alive, ended but not yet reaped by its parent, or gone.
enum class ProcessState { Running, Zombie, Gone };
ProcessState StateOf(pid_t pid);
inline bool ProcessEnded(pid_t pid) {
    return StateOf(pid) != ProcessState::Running;
}

// A program a test starts, in a process group of its own, so that whatever it starts in turn
// ends with it: the whole group is ended when the object goes, also when the test fails half
// way, and the program is killed should the test program die first (a time-out of the test
// runner). Its messages go to log, or to the test's own standard error when there is none.
class OwnedProcess : public QProcess {
  public:
    explicit OwnedProcess(const QProcessEnvironment& environment,
                          const std::filesystem::path& log = {});
    OwnedProcess(const QString& program, const QStringList& arguments,
                 const QProcessEnvironment& environment, const std::filesystem::path& log = {})
        : OwnedProcess(environment, log) {
        Launch(program, arguments);
    }
    // Asks the group to end, and kills it when it has not within a few seconds.
    ~OwnedProcess() override;

    // Starts the program (looked up in PATH); false when it could not be started.
    bool Launch(const QString& program, const QStringList& arguments);
    // The exit code once the program has ended within limit (-1 for a killed one).
    std::optional<int> WaitForExit(std::chrono::milliseconds limit);

    // Runs a short-lived tool to its end: its standard output, or nothing when it could not
    // be started, failed, or did not end within limit.
    static std::optional<QString> Run(const QString& program, const QStringList& arguments,
                                      const QProcessEnvironment& environment,
                                      std::chrono::milliseconds limit = std::chrono::seconds(10));

  private:
    qint64 m_group = 0;
};
