#include "tests/support/OwnedProcess.h"

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

OwnedProcess::OwnedProcess(const QProcessEnvironment& environment,
                           const std::filesystem::path& log) {
    setProcessEnvironment(environment);
    if (log.empty()) {
        setProcessChannelMode(QProcess::ForwardedErrorChannel);
    } else {
        setStandardOutputFile(QString::fromStdString(log.string()), QIODevice::Append);
        setStandardErrorFile(QString::fromStdString(log.string()), QIODevice::Append);
    }
    setChildProcessModifier([] {
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGKILL);
    });
}

bool OwnedProcess::Launch(const QString& program, const QStringList& arguments) {
    start(program, arguments);
    if (!waitForStarted())
        return false;
    m_group = processId();
    return true;
}

std::optional<int> OwnedProcess::WaitForExit(std::chrono::milliseconds limit) {
    if (state() != QProcess::NotRunning && !waitForFinished(static_cast<int>(limit.count())))
        return std::nullopt;
    return exitStatus() == QProcess::NormalExit ? exitCode() : -1;
}

void OwnedProcess::Stop() {
    if (m_group == 0)
        return;
    // The group may outlive its leader (a program the leader started), so it is always
    // told to end, and killed after the leader has had its time.
    ::kill(static_cast<pid_t>(-m_group), SIGTERM);
    if (!waitForFinished(3000))
        ::kill(static_cast<pid_t>(-m_group), SIGKILL);
    ::kill(static_cast<pid_t>(-m_group), SIGKILL);
    waitForFinished();
    m_group = 0;
}

std::optional<QString> OwnedProcess::Run(const QString& program, const QStringList& arguments,
                                         const QProcessEnvironment& environment,
                                         std::chrono::milliseconds limit) {
    OwnedProcess tool(program, arguments, environment);
    const std::optional<int> code = tool.WaitForExit(limit);
    if (code != 0)
        return std::nullopt;
    return QString::fromUtf8(tool.readAllStandardOutput());
}
