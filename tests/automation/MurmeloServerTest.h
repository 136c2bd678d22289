#pragma once

#include "automation/CMurmeloDlgAutoProxy.h"
#include "platform/ole/GuidString.h"

#include "tests/support/BusClient.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Eventually.h"
#include "tests/support/PrivateSessionBus.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

inline const QString kProgId = QStringLiteral("Murmelo.Application");
inline const QString kIidDispatch = QStringLiteral("{00020400-0000-0000-C000-000000000046}");
inline const QString kIidUnknown = QStringLiteral("{00000000-0000-0000-C000-000000000046}");
inline const QString kIidMurmelo = QString::fromStdString(StringFromGUID(IID_IMurmelo));

// The real murmelo as an automation server, without a sound device, its window on the given
// Qt platform (and X11 display), on a session bus of the test's own that activates programs
// from the test's own $XDG_DATA_HOME/dbus-1/services. The program says nothing when it is
// ready, so the tests poll for what it does.
class MurmeloServerTest : public testing::Test {
  protected:
    explicit MurmeloServerTest(const char* platform = "offscreen", const std::string& display = {})
        : m_bus(std::filesystem::path(std::getenv("XDG_DATA_HOME")) / "dbus-1" / "services",
                Variables(platform, display)) {}

    void SetUp() override { ASSERT_TRUE(m_bus.IsRunning()) << "dbus-daemon did not start"; }

    // The activation file a user start writes.
    std::filesystem::path ActivationFile() const {
        return m_bus.ServiceFolder() / (kProgId.toStdString() + ".service");
    }
    // The program started directly by the test, on the test's bus.
    std::unique_ptr<OwnedProcess> Start(const QStringList& arguments) {
        return std::make_unique<OwnedProcess>(MURMELO_PROGRAM, arguments, m_bus.Environment());
    }
    // A user start, once it has written its activation file; null when it never did. A start
    // takes a fraction of the limit; it only stops a hung test.
    std::unique_ptr<OwnedProcess> StartByUser() {
        auto process = Start({});
        const auto written = [&] { return std::filesystem::exists(ActivationFile()); };
        Eventually([&] { return written() || process->state() == QProcess::NotRunning; },
                   std::chrono::seconds(10));
        return written() ? std::move(process) : nullptr;
    }
    // What a user start leaves behind: the activation file the bus starts the program from.
    void InstallActivationFile() {
        ASSERT_NE(StartByUser(), nullptr) << "a user start wrote no activation file";
    }

    // Creates the object through activation; returns the server's unique name and, in
    // *pPath, the object's path.
    QString CreateObject(BusClient& client, QString* pPath = nullptr,
                         const QString& iid = kIidMurmelo) {
        const QDBusMessage reply = client.CreateInstance(kProgId, iid);
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
        if (pPath)
            *pPath = ObjectPathOf(reply);
        return reply.service();
    }
    // Whether the server with the unique name `server` and process id `pid` ends within
    // a second.
    bool EndsWithinASecond(const QString& server, uint pid) {
        BusClient observer(m_bus.Address(), QStringLiteral("observer"));
        return Eventually(
            [&] { return !observer.NameHasOwner(server) && ProcessEnded(static_cast<pid_t>(pid)); },
            std::chrono::seconds(1));
    }

    BusClient Client(const QString& name) { return BusClient(m_bus.Address(), name); }

    PrivateSessionBus m_bus;

  private:
    static QProcessEnvironment Variables(const char* platform, const std::string& display) {
        QProcessEnvironment variables;
        variables.insert(QStringLiteral("QT_QPA_PLATFORM"), QString::fromLatin1(platform));
        variables.insert(QStringLiteral("MURMELO_AUDIO"), QStringLiteral("null"));
        variables.insert(QStringLiteral("DISPLAY"), QString::fromStdString(display));
        return variables;
    }
};
