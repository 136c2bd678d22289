#pragma once

#include "tests/support/BusClient.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/PrivateSessionBus.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

inline const QString kProgId = QStringLiteral("Murmelo.Application");
inline const QString kIidDispatch = QStringLiteral("{00020400-0000-0000-C000-000000000046}");
inline const QString kIidUnknown = QStringLiteral("{00000000-0000-0000-C000-000000000046}");
QString IidMurmelo();

// The real murmelo as an automation server, without a sound device, its window on the given
// Qt platform (and X11 display), on a session bus of the test's own that activates programs
// from the test's own $XDG_DATA_HOME/dbus-1/services. The program says nothing when it is
// ready, so the tests poll for what it does.
class MurmeloServerTest : public testing::Test {
  protected:
    explicit MurmeloServerTest(const char* platform = "offscreen",
                               const std::string& display = std::string());

    void SetUp() override { ASSERT_TRUE(m_bus.IsRunning()) << "dbus-daemon did not start"; }

    // The activation file a user start writes.
    std::filesystem::path ActivationFile() const;
    // The program started directly by the test, on the test's bus.
    std::unique_ptr<OwnedProcess> Start(const QStringList& arguments);
    // A user start, once it has written its activation file; null when it never did.
    std::unique_ptr<OwnedProcess> StartByUser();
    // What a user start leaves behind: the activation file the bus starts the program from.
    void InstallActivationFile() {
        ASSERT_NE(StartByUser(), nullptr) << "a user start wrote no activation file";
    }

    // Creates the object through activation; returns the server's unique name and, in
    // *pPath, the object's path.
    QString CreateObject(BusClient& client, QString* pPath = nullptr,
                         const QString& iid = IidMurmelo());
    // Whether the server with the unique name `server` and process id `pid` ends within
    // a second.
    bool EndsWithinASecond(const QString& server, uint pid);

    BusClient Client(const char* name) { return BusClient(m_bus.Address(), name); }

    PrivateSessionBus m_bus;
};
