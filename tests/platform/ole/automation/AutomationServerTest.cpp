#include "tests/platform/ole/automation/BusClient.h"
#include "tests/platform/ole/automation/TestSessionBus.h"

#include <QDBusArgument>
#include <QDBusMessage>
#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;

// Readable failure messages for Qt's strings.
void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace {

const QString kProgId = QStringLiteral("Murmelo.AutomationTest");
const QString kIidTestObject = QStringLiteral("{6A0F3C11-52D4-4E0B-9B1E-3C7D21845A60}");
const QString kIidDispatch = QStringLiteral("{00020400-0000-0000-C000-000000000046}");
const QString kIidUnknown = QStringLiteral("{00000000-0000-0000-C000-000000000046}");

fs::path ActivationFile() {
    return TestSessionBus::ServiceFolder() / (kProgId.toStdString() + ".service");
}

std::string ReadFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

// True once the process has exited (gone, or a zombie its parent has not reaped yet).
bool ProcessEnded(uint pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return true;
    const std::size_t end = line.rfind(')');
    return end == std::string::npos || end + 2 >= line.size() || line[end + 2] == 'Z' ||
           line[end + 2] == 'X';
}

// A server started directly by a test; it ends with the test.
class ServerProcess : public QProcess {
  public:
    ~ServerProcess() override {
        kill();
        waitForFinished();
    }
};

class AutomationServerTest : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(m_bus.IsRunning()) << "dbus-daemon did not start"; }

    // Starts the server program directly and returns the line it prints once it has
    // registered its factory or written its activation file.
    QString StartServer(QProcess& server, const QStringList& arguments,
                        const QProcessEnvironment& environment) {
        server.setProcessEnvironment(environment);
        server.start(QStringLiteral(AUTOMATION_TEST_SERVER), arguments);
        while (!server.canReadLine()) {
            if (!server.waitForReadyRead(10000))
                return QStringLiteral("(no line)");
        }
        return QString::fromUtf8(server.readLine()).trimmed();
    }
    QString StartServer(QProcess& server, const QStringList& arguments) {
        return StartServer(server, arguments, m_bus.Environment());
    }

    // What a user start leaves behind: the activation file the bus then starts the
    // server from.
    void InstallActivationFile() {
        ServerProcess userStart;
        ASSERT_EQ(StartServer(userStart, {}), QStringLiteral("updated ok"));
    }

    // Creates an object through activation and returns the server's unique name.
    QString CreateObject(BusClient& client, QString* pPath = nullptr) {
        const QDBusMessage reply = client.CreateInstance(kProgId, kIidTestObject);
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
        if (pPath)
            *pPath = ObjectPathOf(reply);
        return reply.service();
    }

    // Whether the server process with the unique name `server` and process id `pid`
    // ends within a second.
    bool EndsWithinASecond(const QString& server, uint pid) {
        BusClient observer(m_bus.Address(), QStringLiteral("observer"));
        const QDeadlineTimer deadline(1000);
        while (!deadline.hasExpired()) {
            if (!observer.NameHasOwner(server) && ProcessEnded(pid))
                return true;
            QThread::msleep(10);
        }
        return false;
    }

    BusClient Client(const char* name) { return BusClient(m_bus.Address(), name); }

    TestSessionBus m_bus;
};

TEST_F(AutomationServerTest, UserStartWritesActivationFileAndLeavesNameFree) {
    ServerProcess server;
    ASSERT_EQ(StartServer(server, {}), QStringLiteral("updated ok"));

    EXPECT_EQ(ReadFile(ActivationFile()), "[D-BUS Service]\nName=Murmelo.AutomationTest\nExec=" +
                                              std::string(AUTOMATION_TEST_SERVER) +
                                              " -Automation\n");
    BusClient client(m_bus.Address(), QStringLiteral("client"));
    EXPECT_FALSE(client.NameHasOwner(kProgId));
}

TEST_F(AutomationServerTest, ActivationStartsAProgramWhosePathNeedsQuoting) {
    const fs::path folder = fs::current_path() / "My 'Programs' a\\b";
    fs::create_directories(folder);
    const fs::path program = folder / "automation test server";
    fs::copy_file(AUTOMATION_TEST_SERVER, program);
    ServerProcess userStart;
    userStart.setProcessEnvironment(m_bus.Environment());
    userStart.start(QString::fromStdString(program.native()), {});
    ASSERT_TRUE(userStart.waitForReadyRead(10000));

    BusClient client = Client("client");
    QString path;
    const QString server = CreateObject(client, &path);
    ASSERT_FALSE(server.isEmpty());
    const uint pid = client.ProcessOf(server);
    EXPECT_EQ(fs::read_symlink("/proc/" + std::to_string(pid) + "/exe"), program);
    EXPECT_EQ(client.Release(server, path).type(), QDBusMessage::ReplyMessage);
}

TEST_F(AutomationServerTest, AutomationStartOwnsNameAndLeavesFileAlone) {
    std::ofstream(ActivationFile()) << "left by an earlier start\n";

    ServerProcess server;
    ASSERT_EQ(StartServer(server, {QStringLiteral("-Automation")}),
              QStringLiteral("registered ok"));

    BusClient client(m_bus.Address(), QStringLiteral("client"));
    EXPECT_TRUE(client.NameHasOwner(kProgId));
    EXPECT_EQ(client.ProcessOf(kProgId), static_cast<uint>(server.processId()));
    EXPECT_EQ(ReadFile(ActivationFile()), "left by an earlier start\n");
}

TEST_F(AutomationServerTest, FailuresAreReportedOnlyToTheCaller) {
    // The server keeps running after each failure: only its result says what went wrong.
    ServerProcess owner;
    ASSERT_EQ(StartServer(owner, {QStringLiteral("-Automation")}), QStringLiteral("registered ok"));
    // A data folder below a plain file cannot be made, not even by root.
    const fs::path notAFolder = fs::current_path() / "not-a-folder";
    std::ofstream(notAFolder) << "a file\n";

    struct Row {
        const char* name;
        QStringList arguments;
        const char* variable;
        QString value;
        const char* expected;
    };
    const Row rows[] = {
        {"name already owned", {QStringLiteral("-Automation")}, nullptr, {}, "registered failed"},
        {"no session bus",
         {QStringLiteral("-Automation")},
         "DBUS_SESSION_BUS_ADDRESS",
         QStringLiteral("unix:path=%1")
             .arg(QString::fromStdString((fs::current_path() / "none").native())),
         "registered failed"},
        {"unwritable data folder",
         {},
         "XDG_DATA_HOME",
         QString::fromStdString((notAFolder / "data").native()),
         "updated failed"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        QProcessEnvironment environment = m_bus.Environment();
        if (row.variable)
            environment.insert(QString::fromLatin1(row.variable), row.value);
        ServerProcess server;
        EXPECT_EQ(StartServer(server, row.arguments, environment),
                  QString::fromLatin1(row.expected));
        EXPECT_FALSE(server.waitForFinished(100)) << "the server ended after a failure";
    }
}

TEST_F(AutomationServerTest, EveryInterfaceIdGivesTheSameObjectThroughActivation) {
    InstallActivationFile();
    for (const QString& iid : {kIidTestObject, kIidDispatch, kIidUnknown}) {
        SCOPED_TRACE(iid.toStdString());
        BusClient client = Client("client");
        const QDBusMessage reply = client.CreateInstance(kProgId, iid);
        ASSERT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
        const QString server = reply.service();
        const QString path = ObjectPathOf(reply);
        const uint pid = client.ProcessOf(server);
        ASSERT_NE(pid, 0u);

        // Single use: the name is free again for the next client's process.
        EXPECT_FALSE(client.NameHasOwner(kProgId));
        const QDBusMessage introspection =
            client.Call(server, path, QStringLiteral("org.freedesktop.DBus.Introspectable"),
                        QStringLiteral("Introspect"));
        const QString xml = introspection.arguments().value(0).toString();
        EXPECT_TRUE(xml.contains(QStringLiteral("<interface name=\"Murmelo.IUnknown\">")));
        EXPECT_TRUE(xml.contains(QStringLiteral("<interface name=\"Murmelo.ITestObject\"/>")));
        const QDBusMessage properties =
            client.Call(server, path, QStringLiteral("org.freedesktop.DBus.Properties"),
                        QStringLiteral("GetAll"), {QStringLiteral("Murmelo.ITestObject")});
        ASSERT_EQ(properties.type(), QDBusMessage::ReplyMessage);
        EXPECT_TRUE(qdbus_cast<QVariantMap>(properties.arguments().value(0)).isEmpty());

        EXPECT_EQ(client.Release(server, path).type(), QDBusMessage::ReplyMessage);
        EXPECT_TRUE(EndsWithinASecond(server, pid));
    }
}

TEST_F(AutomationServerTest, ClientDisconnectionEndsTheServer) {
    InstallActivationFile();
    BusClient client = Client("client");
    const QString server = CreateObject(client);
    const uint pid = client.ProcessOf(server);
    ASSERT_NE(pid, 0u);

    client.Disconnect();

    EXPECT_TRUE(EndsWithinASecond(server, pid));
}

TEST_F(AutomationServerTest, TwoClientsGetTwoProcesses) {
    InstallActivationFile();
    BusClient first = Client("first");
    BusClient second = Client("second");
    QString firstPath;
    QString secondPath;
    const QString firstServer = CreateObject(first, &firstPath);
    const QString secondServer = CreateObject(second, &secondPath);

    const uint firstPid = first.ProcessOf(firstServer);
    const uint secondPid = second.ProcessOf(secondServer);
    EXPECT_NE(firstServer, secondServer);
    EXPECT_NE(firstPid, secondPid);

    // Each release ends its own server and no other.
    EXPECT_EQ(first.Release(firstServer, firstPath).type(), QDBusMessage::ReplyMessage);
    EXPECT_TRUE(EndsWithinASecond(firstServer, firstPid));
    EXPECT_FALSE(ProcessEnded(secondPid));
    EXPECT_EQ(second.Release(secondServer, secondPath).type(), QDBusMessage::ReplyMessage);
    EXPECT_TRUE(EndsWithinASecond(secondServer, secondPid));
}

TEST_F(AutomationServerTest, ClientsAskingAtOnceEachEndUpWithAProcessOfTheirOwn) {
    // Both requests wait at the bus for the first process, which can serve only one of
    // them. The other is refused as a second creation and, asked again, gets a new process.
    InstallActivationFile();
    BusClient first = Client("first");
    BusClient second = Client("second");
    QDBusPendingCall firstCall = first.CreateInstanceAsync(kProgId, kIidTestObject);
    QDBusPendingCall secondCall = second.CreateInstanceAsync(kProgId, kIidTestObject);
    firstCall.waitForFinished();
    secondCall.waitForFinished();

    QStringList servers;
    for (auto [client, call] : {std::pair{&first, &firstCall}, std::pair{&second, &secondCall}}) {
        QDBusMessage reply = call->reply();
        if (reply.errorName() == QStringLiteral("Murmelo.Error.AlreadyCreated"))
            reply = client->CreateInstance(kProgId, kIidTestObject);
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
        servers.append(reply.service());
    }
    EXPECT_NE(servers[0], servers[1]);
}

TEST_F(AutomationServerTest, UnknownInterfaceIdsAreRefusedAndTheServerStaysReady) {
    InstallActivationFile();
    BusClient client = Client("client");
    QString server;
    for (const QString& iid :
         {QStringLiteral("{00000000-0000-0000-0000-000000000000}"),
          QStringLiteral("{6A0F3C12-52D4-4E0B-9B1E-3C7D21845A60}"), QStringLiteral("IMurmelo"),
          QString(), QStringLiteral("{6A0F3C11-52D4-4E0B-9B1E-3C7D21845A60")}) {
        SCOPED_TRACE(iid.toStdString());
        const QDBusMessage reply = client.CreateInstance(kProgId, iid);
        EXPECT_EQ(reply.errorName(), QStringLiteral("Murmelo.Error.NoInterface"));
        if (server.isEmpty())
            server = reply.service();
        EXPECT_EQ(reply.service(), server) << "a refusal ended the server";
    }
    // Nothing was created, so the same process still serves the first real request.
    EXPECT_EQ(CreateObject(client), server);
}

TEST_F(AutomationServerTest, SecondCreationInTheSameProcessIsRefused) {
    InstallActivationFile();
    BusClient first = Client("first");
    BusClient second = Client("second");
    const QString server = CreateObject(first);

    // The name is gone, but a client can still reach the process by its unique name.
    for (BusClient* client : {&first, &second}) {
        const QDBusMessage reply = client->CreateInstance(server, kIidTestObject);
        EXPECT_EQ(reply.errorName(), QStringLiteral("Murmelo.Error.AlreadyCreated"));
    }
}

TEST_F(AutomationServerTest, ReleaseFromAnotherConnectionIsRefused) {
    InstallActivationFile();
    BusClient owner = Client("owner");
    BusClient other = Client("other");
    QString path;
    const QString server = CreateObject(owner, &path);
    const uint pid = owner.ProcessOf(server);

    EXPECT_EQ(other.Release(server, path).errorName(), QStringLiteral("Murmelo.Error.NotOwner"));

    EXPECT_FALSE(ProcessEnded(pid));
    EXPECT_EQ(owner.Release(server, path).type(), QDBusMessage::ReplyMessage);
    EXPECT_TRUE(EndsWithinASecond(server, pid));
}

TEST_F(AutomationServerTest, UnknownMembersAndObjectsAreRefused) {
    InstallActivationFile();
    BusClient client = Client("client");
    QString path;
    const QString server = CreateObject(client, &path);

    struct Row {
        const char* name;
        QString path;
        const char* interface;
        const char* member;
        const char* error;
    };
    const Row rows[] = {
        {"factory member", QStringLiteral("/"), "Murmelo.ClassFactory", "LockServer",
         "org.freedesktop.DBus.Error.UnknownMethod"},
        {"object member on the factory", QStringLiteral("/"), "Murmelo.IUnknown", "Release",
         "org.freedesktop.DBus.Error.UnknownMethod"},
        {"dispatch member", path, "Murmelo.ITestObject", "Speak",
         "org.freedesktop.DBus.Error.UnknownMethod"},
        {"reference counting member", path, "Murmelo.IUnknown", "AddRef",
         "org.freedesktop.DBus.Error.UnknownMethod"},
        {"other interface", path, "org.example.Other", "Release",
         "org.freedesktop.DBus.Error.UnknownMethod"},
        {"property", path, "org.freedesktop.DBus.Properties", "Get",
         "org.freedesktop.DBus.Error.UnknownProperty"},
        {"no such object", QStringLiteral("/objects/99"), "Murmelo.IUnknown", "Release",
         "org.freedesktop.DBus.Error.UnknownObject"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QVariantList arguments =
            QString::fromLatin1(row.member) == QStringLiteral("Get")
                ? QVariantList{QStringLiteral("Murmelo.ITestObject"), QStringLiteral("Name")}
                : QVariantList{};
        const QDBusMessage reply = client.Call(server, row.path, QString::fromLatin1(row.interface),
                                               QString::fromLatin1(row.member), arguments);
        EXPECT_EQ(reply.errorName(), QString::fromLatin1(row.error));
    }
    // None of them touched the object.
    EXPECT_EQ(client.Release(server, path).type(), QDBusMessage::ReplyMessage);
}

TEST_F(AutomationServerTest, CreationWithoutMainWindowIsRefused) {
    ServerProcess server;
    ASSERT_EQ(
        StartServer(server, {QStringLiteral("-Automation"), QStringLiteral("--no-main-window")}),
        QStringLiteral("registered ok"));
    BusClient client = Client("client");

    EXPECT_EQ(client.CreateInstance(kProgId, kIidTestObject).errorName(),
              QStringLiteral("Murmelo.Error.NotReady"));
    EXPECT_TRUE(client.NameHasOwner(kProgId));
}

} // namespace
