#pragma once

#include <QProcess>
#include <QString>

#include <filesystem>

// A dbus-daemon of one test's own, listening in the test's folder. It starts programs
// from the test's $XDG_DATA_HOME/dbus-1/services only, so the activation files the
// program under test writes are exactly what it can activate.
class TestSessionBus {
  public:
    TestSessionBus();
    TestSessionBus(const TestSessionBus&) = delete;
    TestSessionBus& operator=(const TestSessionBus&) = delete;
    ~TestSessionBus();

    bool IsRunning() const { return !m_address.isEmpty(); }
    const QString& Address() const { return m_address; }
    static std::filesystem::path ServiceFolder();

    // The environment a program started on this bus gets.
    QProcessEnvironment Environment() const;

  private:
    void EndServers();

    QProcess m_daemon;
    QString m_address;
};
