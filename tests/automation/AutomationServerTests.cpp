// The real program as an automation server: how it is started, what a client gets, what it
// refuses, and that it ends when its client lets go.
#include "tests/automation/MurmeloServerTest.h"

#include "tests/support/ChildProcess.h"
#include "tests/support/Eventually.h"
#include "tests/support/FileBytes.h"

#include <algorithm>
#include <csignal>

namespace {

using namespace std::chrono_literals;
using AutomationServer = MurmeloServerTest;

TEST_F(AutomationServer, UserStartWritesTheActivationFileAndAutomationStartOwnsTheName) {
    BusClient client = Client("client");
    {
        const std::unique_ptr<OwnedProcess> userStart = StartByUser();
        ASSERT_NE(userStart, nullptr);
        EXPECT_EQ(ReadFile(ActivationFile()), "[D-BUS Service]\nName=Murmelo.Application\nExec=" +
                                                  std::string(MURMELO_PROGRAM) + " -Automation\n");
        EXPECT_FALSE(client.NameHasOwner(kProgId));
        // Still running: it owns nothing because it never registered, not because it ended.
        EXPECT_FALSE(ProcessEnded(static_cast<pid_t>(userStart->processId())));
    }
    WriteFile(ActivationFile(), "left by an earlier start\n");
    const auto server = Start({"-Automation"});
    EXPECT_TRUE(Eventually([&] { return client.NameHasOwner(kProgId); }, 10s));
    EXPECT_EQ(client.ProcessOf(kProgId), static_cast<uint>(server->processId()));
    EXPECT_EQ(ReadFile(ActivationFile()), "left by an earlier start\n");
}

TEST_F(AutomationServer, CreationLaunchesTheProgramAndReleaseEndsIt) {
    InstallActivationFile();
    for (const QString& iid : {IidMurmelo(), kIidDispatch, kIidUnknown}) {
        SCOPED_TRACE(iid.toStdString());
        BusClient client = Client("client");
        QString path;
        const QString server = CreateObject(client, &path, iid);
        const uint pid = client.ProcessOf(server);
        ASSERT_NE(pid, 0u);
        std::string commandLine = ReadFile("/proc/" + std::to_string(pid) + "/cmdline");
        std::ranges::replace(commandLine, '\0', ' ');
        EXPECT_EQ(commandLine, MURMELO_PROGRAM " -Automation ");
        // Single use: the next client's request starts a new process.
        EXPECT_FALSE(client.NameHasOwner(kProgId));
        // Every id gives the same object, with the program's own interface.
        const QString xml =
            client.Call(server, path, "org.freedesktop.DBus.Introspectable", "Introspect")
                .arguments()
                .value(0)
                .toString();
        EXPECT_TRUE(xml.contains("<interface name=\"Murmelo.IMurmelo\"/>")) << xml.toStdString();

        EXPECT_EQ(client.Release(server, path).type(), QDBusMessage::ReplyMessage);
        EXPECT_TRUE(EndsWithinASecond(server, pid));
    }
}

// A client that dies while it holds the object lets go of it as well.
TEST_F(AutomationServer, AKilledClientEndsTheProgram) {
    InstallActivationFile();
    OwnedProcess holder(HOLDING_CLIENT, {IidMurmelo()}, m_bus.Environment());
    ASSERT_TRUE(holder.waitForReadyRead(20000)) << "the client got no object";
    const QString server = QString::fromUtf8(holder.readLine()).trimmed();
    const uint pid = Client("observer").ProcessOf(server);
    ASSERT_NE(pid, 0u);

    kill(static_cast<pid_t>(holder.processId()), SIGKILL);

    EXPECT_TRUE(EndsWithinASecond(server, pid));
}

TEST_F(AutomationServer, TwoClientsGetTwoProcesses) {
    InstallActivationFile();
    BusClient first = Client("first");
    BusClient second = Client("second");
    QString firstPath, secondPath;
    const QString firstServer = CreateObject(first, &firstPath);
    const QString secondServer = CreateObject(second, &secondPath);
    const uint firstPid = first.ProcessOf(firstServer);
    const uint secondPid = second.ProcessOf(secondServer);
    ASSERT_NE(firstPid, 0u);
    ASSERT_NE(firstPid, secondPid);

    // Each release ends its own process and no other.
    EXPECT_EQ(first.Release(firstServer, firstPath).type(), QDBusMessage::ReplyMessage);
    EXPECT_TRUE(EndsWithinASecond(firstServer, firstPid));
    EXPECT_FALSE(ProcessEnded(static_cast<pid_t>(secondPid)));
    EXPECT_EQ(second.Release(secondServer, secondPath).type(), QDBusMessage::ReplyMessage);
    EXPECT_TRUE(EndsWithinASecond(secondServer, secondPid));
}

TEST_F(AutomationServer, RefusalsLeaveTheProgramAsItWas) {
    InstallActivationFile();
    BusClient owner = Client("owner");
    BusClient other = Client("other");

    // An unknown interface id creates nothing: the same process serves the next request.
    const QDBusMessage refused =
        owner.CreateInstance(kProgId, QStringLiteral("{3E8A51C6-0B2D-4F6A-9C41-7D52E018A63B}"));
    EXPECT_EQ(refused.errorName(), QStringLiteral("Murmelo.Error.NoInterface"));
    QString path;
    const QString server = CreateObject(owner, &path);
    EXPECT_EQ(server, refused.service());
    const uint pid = owner.ProcessOf(server);
    ASSERT_NE(pid, 0u);

    const QString factory = "Murmelo.ClassFactory";
    const QString unknownMethod = "org.freedesktop.DBus.Error.UnknownMethod";
    const struct {
        const char* name;
        BusClient& client;
        QString path, interface, member;
        QVariantList arguments;
        QString error;
    } rows[] = {
        {"second creation",
         other,
         "/",
         factory,
         "CreateInstance",
         {IidMurmelo()},
         "Murmelo.Error.AlreadyCreated"},
        {"second creation by the owner",
         owner,
         "/",
         factory,
         "CreateInstance",
         {kIidDispatch},
         "Murmelo.Error.AlreadyCreated"},
        {"unknown member of the factory", owner, "/", factory, "LockServer", {}, unknownMethod},
        {"release by another connection",
         other,
         path,
         "Murmelo.IUnknown",
         "Release",
         {},
         "Murmelo.Error.NotOwner"},
        {"unknown member", owner, path, "Murmelo.IMurmelo", "Speak", {}, unknownMethod},
        {"unknown property",
         owner,
         path,
         "org.freedesktop.DBus.Properties",
         "Get",
         {"Murmelo.IMurmelo", "Visible"},
         "org.freedesktop.DBus.Error.UnknownProperty"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const QDBusMessage reply =
            row.client.Call(server, row.path, row.interface, row.member, row.arguments);
        EXPECT_EQ(reply.errorName(), row.error);
        EXPECT_FALSE(ProcessEnded(static_cast<pid_t>(pid)));
    }

    // None of them touched the object: its owner still holds it, and lets go.
    EXPECT_EQ(owner.Release(server, path).type(), QDBusMessage::ReplyMessage);
    EXPECT_TRUE(EndsWithinASecond(server, pid));
}

} // namespace
