#pragma once

#include "tests/platform/ole/automation/BusClient.h"
#include "tests/platform/ole/automation/TestSessionBus.h"

#include <QDBusMessage>
#include <QProcess>
#include <QString>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

void PrintTo(const QString& text, std::ostream* out);

inline const QString kProgId = QStringLiteral("Murmelo.Application");
inline const QString kIidDispatch = QStringLiteral("{00020400-0000-0000-C000-000000000046}");
inline const QString kIidUnknown = QStringLiteral("{00000000-0000-0000-C000-000000000046}");
QString IidMurmelo();

// The activation file a user start writes.
std::filesystem::path ActivationFile();

// True once the process has exited (gone, or a zombie its parent has not reaped yet).
bool ProcessEnded(uint pid);

// A murmelo started directly by a test; it ends with the test.
class MurmeloProcess : public QProcess {
  public:
    MurmeloProcess(const QStringList& arguments, const QProcessEnvironment& environment);
    ~MurmeloProcess() override;
};

// What the programs the test's bus starts run with, set in this process before the bus
// starts, since they inherit the daemon's environment: no sound device, and the window on
// the given Qt platform (and X11 display).
class ServerEnvironment {
  public:
    explicit ServerEnvironment(const char* platform, const QString& display = QString());
};

// The real murmelo on a session bus of the test's own, in the test's own folder and
// $XDG_DATA_HOME. murmelo says nothing when it is ready, so the tests poll for what it does.
class MurmeloServerTest : public testing::Test {
  protected:
    explicit MurmeloServerTest(const char* platform = "offscreen",
                               const QString& display = QString());

    void SetUp() override;

    // A user start, once it has written its activation file; null when it never did.
    std::unique_ptr<MurmeloProcess> StartByUser();
    // What a user start leaves behind: the activation file the bus starts murmelo from.
    void InstallActivationFile();

    // Creates the object through activation; returns the server's unique name and, in
    // *pPath, the object's path.
    QString CreateObject(BusClient& client, const QString& iid, QString* pPath = nullptr);

    // Whether the server with the unique name `server` and process id `pid` ends within
    // a second.
    bool EndsWithinASecond(const QString& server, uint pid);

    BusClient Client(const char* name) { return BusClient(m_bus.Address(), name); }

    ServerEnvironment m_environment;
    TestSessionBus m_bus;
};
