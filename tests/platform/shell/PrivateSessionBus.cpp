#include "tests/platform/shell/PrivateSessionBus.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <cstdlib>
#include <fstream>

void PrivateSessionBus::SetUp() {
    std::string pattern = (std::filesystem::temp_directory_path() / "murmelo-bus-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    m_folder = pattern;
    s_services = m_folder / "services";
    std::filesystem::create_directory(s_services);
    std::ofstream(m_folder / "session.conf")
        << "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
           " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
           "<busconfig>\n"
           "  <type>session</type>\n"
           "  <auth>EXTERNAL</auth>\n"
           "  <listen>unix:dir="
        << m_folder.string()
        << "</listen>\n"
           "  <servicedir>"
        << s_services.string()
        << "</servicedir>\n"
           "  <policy context=\"default\">\n"
           "    <allow send_destination=\"*\" eavesdrop=\"true\"/>\n"
           "    <allow eavesdrop=\"true\"/>\n"
           "    <allow own=\"*\"/>\n"
           "  </policy>\n"
           "</busconfig>\n";

    m_daemon.start("dbus-daemon",
                   {"--config-file=" + QString::fromStdString((m_folder / "session.conf").string()),
                    "--nofork", "--print-address"});
    if (!m_daemon.waitForStarted() || !m_daemon.waitForReadyRead(10000)) {
        return; // the tests that need the bus skip themselves
    }
    QByteArray address = m_daemon.readLine().trimmed();
    setenv("DBUS_SESSION_BUS_ADDRESS", address.constData(), 1);
    s_running = true;
}

void PrivateSessionBus::TearDown() {
    s_running = false;
    if (m_daemon.state() != QProcess::NotRunning) {
        m_daemon.terminate();
        m_daemon.waitForFinished();
    }
    std::error_code ignored;
    std::filesystem::remove_all(m_folder, ignored);
}

void PrivateSessionBus::ReloadServices() {
    QDBusConnection::sessionBus().call(QDBusMessage::createMethodCall(
        "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "ReloadConfig"));
}
