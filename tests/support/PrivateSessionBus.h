#pragma once

#include "tests/support/OwnedProcess.h"
#include "tests/support/TemporaryFolder.h"

#include <QString>

#include <filesystem>

// A dbus-daemon of the tests' own, in a temporary folder of its own. It starts programs only
// from the given service folder (by default an empty one of its own), so nothing of the
// machine can be activated through it. Programs it started are in its process group and so
// end with it. They inherit
// the daemon's environment: this process's, changed by `variables` (an empty value removes
// the variable).
class PrivateSessionBus {
  public:
    explicit PrivateSessionBus(const std::filesystem::path& serviceFolder = {},
                               const QProcessEnvironment& variables = {});
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

    bool IsRunning() const { return !m_address.isEmpty(); }
    const QString& Address() const { return m_address; }
    // The daemon's process, for a test that stops and resumes it.
    qint64 ProcessId() const { return m_daemon.processId(); }
    const std::filesystem::path& ServiceFolder() const { return m_services; }
    // The environment a program started on this bus gets.
    QProcessEnvironment Environment() const { return m_daemon.processEnvironment(); }
    // Makes the daemon read its service folder again.
    void ReloadServices();

  private:
    TemporaryFolder m_folder{"murmelo-bus"};
    std::filesystem::path m_services;
    OwnedProcess m_daemon{QProcessEnvironment()};
    QString m_address;
    // Found when the bus starts: tests may later narrow PATH to fakes of their own.
    QString m_dbusSend;
};
