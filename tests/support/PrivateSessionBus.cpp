#include "tests/support/PrivateSessionBus.h"

#include <QStandardPaths>

#include <fstream>

namespace fs = std::filesystem;

PrivateSessionBus::PrivateSessionBus(const fs::path& serviceFolder,
                                     const QProcessEnvironment& variables) {
    m_dbusSend = QStandardPaths::findExecutable(QStringLiteral("dbus-send"));
    const fs::path folder = m_folder.Path();
    m_services = serviceFolder.empty() ? folder / "services" : serviceFolder;
    fs::create_directories(m_services);
    const QString address =
        QStringLiteral("unix:path=%1").arg(QString::fromStdString((folder / "bus").native()));
    std::ofstream(folder / "session.conf")
        << "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
           " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
           "<busconfig><type>session</type><listen>"
        << address.toStdString() << "</listen><servicedir>" << m_services.native()
        << "</servicedir><policy context=\"default\"><allow send_destination=\"*\"/>"
           "<allow receive_sender=\"*\"/><allow own=\"*\"/></policy></busconfig>\n";

    // The programs the daemon starts inherit its environment, and with it the address.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& name : variables.keys()) {
        if (variables.value(name).isEmpty())
            environment.remove(name);
        else
            environment.insert(name, variables.value(name));
    }
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), address);
    m_daemon.setProcessEnvironment(environment);
    // The daemon prints its address once it accepts connections.
    if (m_daemon.Launch(QStringLiteral("dbus-daemon"),
                        {QStringLiteral("--config-file=%1")
                             .arg(QString::fromStdString((folder / "session.conf").native())),
                         QStringLiteral("--nofork"), QStringLiteral("--print-address")}) &&
        m_daemon.waitForReadyRead(10000))
        m_address = address;
}

void PrivateSessionBus::ReloadServices() {
    OwnedProcess::Run(m_dbusSend,
                      {"--bus=" + m_address, "--print-reply", "--dest=org.freedesktop.DBus",
                       "/org/freedesktop/DBus", "org.freedesktop.DBus.ReloadConfig"},
                      m_daemon.processEnvironment());
}
