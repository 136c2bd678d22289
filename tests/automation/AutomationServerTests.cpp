// The real program as an automation server: how it is started, what a client gets, what it
// refuses, and that it ends when its client lets go.
#include "tests/automation/MurmeloServerTest.h"

#include "tests/support/FileBytes.h"

#include <csignal>
#include <list>

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

// Each creation launches a program of its own (single use: the next request starts a new
// process), whichever id it asks for. Each release ends its own process and no other.
TEST_F(AutomationServer, EachCreationLaunchesAProgramThatItsReleaseEnds) {
    InstallActivationFile();
    struct Created {
        Created(const QString& bus, const QString& name) : client(bus, name) {}
        BusClient client;
        QString server{}, path{};
        uint pid = 0;
    };
    std::list<Created> created;
    for (const QString& iid : {kIidMurmelo, kIidDispatch, kIidUnknown}) {
        SCOPED_TRACE(iid.toStdString());
        Created& next = created.emplace_back(m_bus.Address(), iid);
        next.server = CreateObject(next.client, &next.path, iid);
        next.pid = next.client.ProcessOf(next.server);
        ASSERT_NE(next.pid, 0u);
        EXPECT_FALSE(next.client.NameHasOwner(kProgId));
    }
    for (Created& each : created) {
        EXPECT_EQ(each.client.Release(each.server, each.path).type(), QDBusMessage::ReplyMessage);
        EXPECT_TRUE(EndsWithinASecond(each.server, each.pid));
        if (&each != &created.back()) {
            EXPECT_FALSE(ProcessEnded(static_cast<pid_t>(created.back().pid)));
        }
    }
}

// A client that dies while it holds the object lets go of it as well.
TEST_F(AutomationServer, AKilledClientEndsTheProgram) {
    InstallActivationFile();
    OwnedProcess holder(HOLDING_CLIENT, {kIidMurmelo}, m_bus.Environment());
    ASSERT_TRUE(holder.waitForReadyRead(20000)) << "the client got no object";
    const QString server = QString::fromUtf8(holder.readLine()).trimmed();
    const uint pid = Client("observer").ProcessOf(server);
    ASSERT_NE(pid, 0u);

    kill(static_cast<pid_t>(holder.processId()), SIGKILL);

    EXPECT_TRUE(EndsWithinASecond(server, pid));
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

    // A second creation, by the owner or another client, and a release by another client.
    const QString factory = "Murmelo.ClassFactory", created = "Murmelo.Error.AlreadyCreated";
    const struct {
        BusClient& client;
        QString path, interface, member;
        QVariantList arguments;
        QString error;
    } rows[] = {
        {other, "/", factory, "CreateInstance", {kIidMurmelo}, created},
        {owner, "/", factory, "CreateInstance", {kIidDispatch}, created},
        {other, path, "Murmelo.IUnknown", "Release", {}, "Murmelo.Error.NotOwner"},
    };
    for (const auto& row : rows) {
        const QDBusMessage reply =
            row.client.Call(server, row.path, row.interface, row.member, row.arguments);
        EXPECT_EQ(reply.errorName(), row.error) << row.member.toStdString();
        EXPECT_FALSE(ProcessEnded(static_cast<pid_t>(pid)));
    }

    // None of them touched the object: its owner still holds it, and lets go.
    EXPECT_EQ(owner.Release(server, path).type(), QDBusMessage::ReplyMessage);
    EXPECT_TRUE(EndsWithinASecond(server, pid));
}

} // namespace
