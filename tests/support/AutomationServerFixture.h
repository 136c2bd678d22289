#pragma once

#include "tests/support/BusClient.h"
#include "tests/support/OwnedProcess.h"
#include "tests/support/PrivateSessionBus.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

// Readable failure messages for Qt's strings.
void PrintTo(const QString& text, std::ostream* out);

inline const QString kIidDispatch = QStringLiteral("{00020400-0000-0000-C000-000000000046}");
inline const QString kIidUnknown = QStringLiteral("{00000000-0000-0000-C000-000000000046}");

// An automation server program on a session bus of the test's own, which activates programs
// from the test's own $XDG_DATA_HOME/dbus-1/services. The programs say nothing when they are
// ready, so the tests poll for what they do.
class AutomationServerFixture : public testing::Test {
  protected:
    // The programs run with `variables` changed in their environment (see PrivateSessionBus).
    AutomationServerFixture(const QString& program, const QString& progId,
                            const QProcessEnvironment& variables = {});

    void SetUp() override;

    // The activation file a user start writes.
    std::filesystem::path ActivationFile() const;
    // The program started directly by the test, on the test's bus.
    std::unique_ptr<OwnedProcess> Start(const QStringList& arguments);
    // A user start, once it has written its activation file; null when it never did.
    std::unique_ptr<OwnedProcess> StartByUser();
    // What a user start leaves behind: the activation file the bus starts the program from.
    void InstallActivationFile();

    // Creates the object through activation; returns the server's unique name and, in
    // *pPath, the object's path.
    QString CreateObject(BusClient& client, const QString& iid, QString* pPath = nullptr);
    // Whether the server with the unique name `server` and process id `pid` ends within
    // a second.
    bool EndsWithinASecond(const QString& server, uint pid);

    BusClient Client(const char* name) { return BusClient(m_bus.Address(), name); }

    const QString m_program;
    const QString m_progId;
    PrivateSessionBus m_bus;
};
