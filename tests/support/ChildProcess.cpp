#include "tests/support/ChildProcess.h"

#include "tests/support/Eventually.h"

#include <fstream>
#include <grp.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

std::optional<int> RunInChild(const std::function<int()>& body, std::chrono::milliseconds limit) {
    const pid_t child = fork();
    if (child == 0)
        _exit(body());
    if (child < 0)
        return std::nullopt;
    int status = 0;
    if (!Eventually([&] { return waitpid(child, &status, WNOHANG) != 0; }, limit)) {
        kill(child, SIGKILL);
        waitpid(child, &status, 0);
        return std::nullopt;
    }
    return WIFEXITED(status) ? std::optional(WEXITSTATUS(status)) : std::nullopt;
}

bool DropRootPrivileges() {
    constexpr uid_t kNobody = 65534;
    return geteuid() != 0 ||
           (setgroups(0, nullptr) == 0 && setgid(kNobody) == 0 && setuid(kNobody) == 0);
}

ProcessState StateOf(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    std::getline(stat, line);
    // The state letter follows the command name, which is in parentheses and may hold any
    // character.
    const std::size_t end = line.rfind(')');
    if (end == std::string::npos || end + 2 >= line.size())
        return ProcessState::Gone;
    return line[end + 2] == 'Z' || line[end + 2] == 'X' ? ProcessState::Zombie
                                                        : ProcessState::Running;
}

OwnedProcess::OwnedProcess(const QProcessEnvironment& environment,
                           const std::filesystem::path& log) {
    setProcessEnvironment(environment);
    if (log.empty()) {
        setProcessChannelMode(QProcess::ForwardedErrorChannel);
    } else {
        setStandardOutputFile(QString::fromStdString(log), QIODevice::Append);
        setStandardErrorFile(QString::fromStdString(log), QIODevice::Append);
    }
    setChildProcessModifier([] {
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGKILL);
    });
}

OwnedProcess::~OwnedProcess() {
    // The group may outlive its leader (a program the leader started), so it is always
    // told to end, and killed after the leader has had its time.
    for (const int signal : {SIGTERM, SIGKILL}) {
        if (m_group != 0)
            ::kill(static_cast<pid_t>(-m_group), signal);
        waitForFinished(3000);
    }
}

bool OwnedProcess::Launch(const QString& program, const QStringList& arguments) {
    start(program, arguments);
    m_group = waitForStarted() ? processId() : 0;
    return m_group != 0;
}

std::optional<int> OwnedProcess::WaitForExit(std::chrono::milliseconds limit) {
    if (state() != QProcess::NotRunning && !waitForFinished(static_cast<int>(limit.count())))
        return std::nullopt;
    return exitStatus() == QProcess::NormalExit ? exitCode() : -1;
}

std::optional<QString> OwnedProcess::Run(const QString& program, const QStringList& arguments,
                                         const QProcessEnvironment& environment,
                                         std::chrono::milliseconds limit) {
    OwnedProcess tool(program, arguments, environment);
    return tool.WaitForExit(limit) == 0
               ? std::optional(QString::fromUtf8(tool.readAllStandardOutput()))
               : std::nullopt;
}
