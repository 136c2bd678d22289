#include "tests/support/PrivateSessionBus.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>

#include <csignal>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// A connection of the test's own to the bus, closed on destruction.
class AdminConnection {
  public:
    explicit AdminConnection(const QString& address)
        : m_connection(QDBusConnection::connectToBus(address, kName)) {}
    ~AdminConnection() {
        m_connection = QDBusConnection(QString());
        QDBusConnection::disconnectFromBus(kName);
    }
    QDBusConnection& operator*() { return m_connection; }

  private:
    static inline const QString kName = QStringLiteral("private bus administration");
    QDBusConnection m_connection;
};

} // namespace

PrivateSessionBus::PrivateSessionBus(const fs::path& serviceFolder,
                                     const QProcessEnvironment& variables) {
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

PrivateSessionBus::~PrivateSessionBus() {
    EndStartedPrograms();
}

void PrivateSessionBus::ReloadServices() {
    AdminConnection connection(m_address);
    (*connection)
        .call(QDBusMessage::createMethodCall("org.freedesktop.DBus", "/org/freedesktop/DBus",
                                             "org.freedesktop.DBus", "ReloadConfig"));
}

void PrivateSessionBus::EndStartedPrograms() {
    if (!IsRunning())
        return;
    // Programs the bus started belong to the daemon, not to the test, and would outlive it:
    // every connection that is not the test process's own is ended by its process id.
    AdminConnection connection(m_address);
    QDBusConnectionInterface* bus = (*connection).interface();
    const QStringList names = bus ? bus->registeredServiceNames().value() : QStringList();
    for (const QString& service : names) {
        const uint pid = service.startsWith(':') ? bus->servicePid(service).value() : 0;
        if (pid != 0 && static_cast<pid_t>(pid) != getpid())
            kill(static_cast<pid_t>(pid), SIGKILL);
    }
}
