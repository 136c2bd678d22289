#pragma once

#include "tests/support/ChildProcess.h"
#include "tests/support/FileBytes.h"
#include "tests/support/TemporaryFolder.h"

#include <QProcessEnvironment>

// A dbus-daemon of the tests' own, in a temporary folder of its own. It starts programs only
// from the given service folder (by default an empty one of its own), so nothing of the
// machine can be activated through it. Programs it started are in its process group and so
// end with it. They inherit the daemon's environment: this process's, changed by `variables`
// (an empty value removes the variable).
class PrivateSessionBus {
  public:
    explicit PrivateSessionBus(const std::filesystem::path& serviceFolder = {},
                               const QProcessEnvironment& variables = {})
        : m_services(serviceFolder.empty() ? m_folder.Path() / "services" : serviceFolder) {
        std::filesystem::create_directories(m_services);
        const std::string folder = m_folder.Path().string();
        const QString address = QString::fromStdString("unix:path=" + folder + "/bus");
        WriteFile(folder + "/session.conf",
                  "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration "
                  "1.0//EN\"\n \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                  "<busconfig><type>session</type><listen>" +
                      address.toStdString() + "</listen><servicedir>" + m_services.string() +
                      "</servicedir><policy context=\"default\"><allow send_destination=\"*\"/>"
                      "<allow receive_sender=\"*\"/><allow own=\"*\"/></policy></busconfig>\n");
        // The programs the daemon starts inherit its environment, and with it the address.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString& name : variables.keys())
            variables.value(name).isEmpty() ? environment.remove(name)
                                            : environment.insert(name, variables.value(name));
        environment.insert("DBUS_SESSION_BUS_ADDRESS", address);
        m_daemon.setProcessEnvironment(environment);
        // The daemon prints its address once it accepts connections.
        if (m_daemon.Launch("dbus-daemon",
                            {QString::fromStdString("--config-file=" + folder + "/session.conf"),
                             "--nofork", "--print-address"}) &&
            m_daemon.waitForReadyRead(10000))
            m_address = address;
    }
    PrivateSessionBus(const PrivateSessionBus&) = delete;
    PrivateSessionBus& operator=(const PrivateSessionBus&) = delete;

    bool IsRunning() const { return !m_address.isEmpty(); }
    const QString& Address() const { return m_address; }
    // The daemon's process, for a test that stops and resumes it.
    qint64 ProcessId() const { return m_daemon.processId(); }
    const std::filesystem::path& ServiceFolder() const { return m_services; }
    // The environment a program started on this bus gets.
    QProcessEnvironment Environment() const { return m_daemon.processEnvironment(); }

  private:
    TemporaryFolder m_folder{"murmelo-bus"};
    std::filesystem::path m_services;
    OwnedProcess m_daemon{QProcessEnvironment()};
    QString m_address;
};
