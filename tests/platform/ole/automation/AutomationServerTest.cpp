// The automation layer through a server program of the tests' own. What the real program
// shares with it (activation, single use, release, disconnection, the common refusals) is
// tested against the program itself in tests/automation; these are the layer's own cases.
#include "tests/support/AutomationServerFixture.h"
#include "tests/support/FileBytes.h"
#include "tests/support/QtApplicationEnvironment.h"

namespace fs = std::filesystem;

namespace {

[[maybe_unused]] testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

const QString kIidTestObject = QStringLiteral("{6A0F3C11-52D4-4E0B-9B1E-3C7D21845A60}");

// The line the test server prints once it has registered its factory or written its
// activation file.
QString FirstLine(QProcess& server) {
    while (!server.canReadLine())
        if (!server.waitForReadyRead(10000))
            return QStringLiteral("(no line)");
    return QString::fromUtf8(server.readLine()).trimmed();
}

class AutomationServerTest : public AutomationServerFixture {
  protected:
    AutomationServerTest()
        : AutomationServerFixture(QStringLiteral(AUTOMATION_TEST_SERVER),
                                  QStringLiteral("Murmelo.AutomationTest")) {}
};

TEST_F(AutomationServerTest, FailuresAreReportedOnlyToTheCaller) {
    // The server keeps running after each failure: only its result says what went wrong.
    const auto owner = Start({QStringLiteral("-Automation")});
    ASSERT_EQ(FirstLine(*owner), QStringLiteral("registered ok"));
    // A data folder below a plain file cannot be made, not even by root.
    const fs::path notAFolder = fs::current_path() / "not-a-folder";
    WriteFile(notAFolder, "a file\n");
    const struct {
        const char* name;
        QStringList arguments;
        const char* variable;
        QString value;
        const char* expected;
    } rows[] = {
        {"name already owned", {QStringLiteral("-Automation")}, nullptr, {}, "registered failed"},
        {"no session bus",
         {QStringLiteral("-Automation")},
         "DBUS_SESSION_BUS_ADDRESS",
         QStringLiteral("unix:path=") +
             QString::fromStdString((fs::current_path() / "none").native()),
         "registered failed"},
        {"unwritable data folder",
         {},
         "XDG_DATA_HOME",
         QString::fromStdString((notAFolder / "data").native()),
         "updated failed"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QProcessEnvironment environment = m_bus.Environment();
        if (row.variable)
            environment.insert(QString::fromLatin1(row.variable), row.value);
        OwnedProcess server(m_program, row.arguments, environment);
        EXPECT_EQ(FirstLine(server), QString::fromLatin1(row.expected));
        EXPECT_FALSE(server.waitForFinished(100)) << "the server ended after a failure";
    }
}

TEST_F(AutomationServerTest, UnknownMembersAndObjectsAreRefused) {
    InstallActivationFile();
    BusClient client = Client("client");
    QString path;
    const QString server = CreateObject(client, kIidTestObject, &path);
    const QString unknownMethod = QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod");
    const struct {
        const char* name;
        QString path;
        const char* interface;
        const char* member;
        QString error;
    } rows[] = {
        {"factory member", "/", "Murmelo.ClassFactory", "LockServer", unknownMethod},
        {"object member on the factory", "/", "Murmelo.IUnknown", "Release", unknownMethod},
        {"reference counting member", path, "Murmelo.IUnknown", "AddRef", unknownMethod},
        {"no such object", "/objects/99", "Murmelo.IUnknown", "Release",
         "org.freedesktop.DBus.Error.UnknownObject"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(client.Call(server, row.path, row.interface, row.member).errorName(), row.error);
    }
    // None of them touched the object.
    EXPECT_EQ(client.Release(server, path).type(), QDBusMessage::ReplyMessage);
}

TEST_F(AutomationServerTest, CreationWithoutMainWindowIsRefused) {
    const auto server = Start({QStringLiteral("-Automation"), QStringLiteral("--no-main-window")});
    ASSERT_EQ(FirstLine(*server), QStringLiteral("registered ok"));
    BusClient client = Client("client");

    EXPECT_EQ(client.CreateInstance(m_progId, kIidTestObject).errorName(),
              QStringLiteral("Murmelo.Error.NotReady"));
    EXPECT_TRUE(client.NameHasOwner(m_progId));
}

} // namespace
