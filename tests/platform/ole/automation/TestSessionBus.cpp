#include "tests/platform/ole/automation/TestSessionBus.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

fs::path TestSessionBus::ServiceFolder() {
    return fs::path(std::getenv("XDG_DATA_HOME")) / "dbus-1" / "services";
}

TestSessionBus::TestSessionBus() {
    const fs::path folder = fs::current_path();
    fs::create_directories(ServiceFolder());
    const QString address =
        QStringLiteral("unix:path=%1").arg(QString::fromStdString((folder / "bus").native()));
    std::ofstream(folder / "session.conf")
        << "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
           " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
           "<busconfig>\n"
           "  <type>session</type>\n"
           "  <listen>"
        << address.toStdString()
        << "</listen>\n"
           "  <servicedir>"
        << ServiceFolder().native()
        << "</servicedir>\n"
           "  <policy context=\"default\">\n"
           "    <allow send_destination=\"*\"/>\n"
           "    <allow receive_sender=\"*\"/>\n"
           "    <allow own=\"*\"/>\n"
           "  </policy>\n"
           "</busconfig>\n";

    // The programs the daemon starts inherit its environment, and with it the address.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
    m_daemon.setProcessEnvironment(environment);
    m_daemon.setProcessChannelMode(QProcess::SeparateChannels);
    m_daemon.start(QStringLiteral("dbus-daemon"),
                   {QStringLiteral("--config-file=%1")
                        .arg(QString::fromStdString((folder / "session.conf").native())),
                    QStringLiteral("--nofork"), QStringLiteral("--print-address")});
    // The daemon prints its address once it accepts connections.
    if (m_daemon.waitForStarted() && m_daemon.waitForReadyRead(10000))
        m_address = address;
}

TestSessionBus::~TestSessionBus() {
    EndServers();
    if (m_daemon.state() != QProcess::NotRunning) {
        m_daemon.terminate();
        m_daemon.waitForFinished();
    }
}

QProcessEnvironment TestSessionBus::Environment() const {
    return m_daemon.processEnvironment();
}

void TestSessionBus::EndServers() {
    if (!IsRunning())
        return;
    // Servers the bus started belong to the daemon, not to the test, and would outlive it:
    // every connection that is not the test's own is ended by its process id.
    const QString name = QStringLiteral("test bus cleanup");
    {
        QDBusConnection connection = QDBusConnection::connectToBus(m_address, name);
        QDBusConnectionInterface* bus = connection.interface();
        const QStringList names = bus ? bus->registeredServiceNames().value() : QStringList();
        for (const QString& service : names) {
            if (!service.startsWith(':'))
                continue;
            const uint pid = bus->servicePid(service).value();
            if (pid != 0 && static_cast<pid_t>(pid) != getpid())
                kill(static_cast<pid_t>(pid), SIGKILL);
        }
    }
    QDBusConnection::disconnectFromBus(name);
}
