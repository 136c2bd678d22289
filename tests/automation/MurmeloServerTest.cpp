#include "tests/automation/MurmeloServerTest.h"

#include "automation/CMurmeloDlgAutoProxy.h"
#include "platform/ole/GuidString.h"

#include "tests/support/ChildProcess.h"
#include "tests/support/Eventually.h"

#include <cstdlib>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

QProcessEnvironment Variables(const char* platform, const std::string& display) {
    QProcessEnvironment variables;
    variables.insert(QStringLiteral("QT_QPA_PLATFORM"), QString::fromLatin1(platform));
    variables.insert(QStringLiteral("MURMELO_AUDIO"), QStringLiteral("null"));
    variables.insert(QStringLiteral("DISPLAY"), QString::fromStdString(display));
    return variables;
}

} // namespace

QString IidMurmelo() {
    return QString::fromStdString(StringFromGUID(IID_IMurmelo));
}

MurmeloServerTest::MurmeloServerTest(const char* platform, const std::string& display)
    : m_bus(fs::path(std::getenv("XDG_DATA_HOME")) / "dbus-1" / "services",
            Variables(platform, display)) {}

fs::path MurmeloServerTest::ActivationFile() const {
    return m_bus.ServiceFolder() / (kProgId.toStdString() + ".service");
}

std::unique_ptr<OwnedProcess> MurmeloServerTest::Start(const QStringList& arguments) {
    return std::make_unique<OwnedProcess>(MURMELO_PROGRAM, arguments, m_bus.Environment());
}

std::unique_ptr<OwnedProcess> MurmeloServerTest::StartByUser() {
    auto process = Start({});
    // A start takes a fraction of the limit; it only stops a hung test.
    if (!Eventually(
            [&] {
                return fs::exists(ActivationFile()) || process->state() == QProcess::NotRunning;
            },
            10s) ||
        !fs::exists(ActivationFile()))
        return nullptr;
    return process;
}

QString MurmeloServerTest::CreateObject(BusClient& client, QString* pPath, const QString& iid) {
    const QDBusMessage reply = client.CreateInstance(kProgId, iid);
    EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    if (pPath)
        *pPath = ObjectPathOf(reply);
    return reply.service();
}

bool MurmeloServerTest::EndsWithinASecond(const QString& server, uint pid) {
    BusClient observer(m_bus.Address(), QStringLiteral("observer"));
    return Eventually(
        [&] { return !observer.NameHasOwner(server) && ProcessEnded(static_cast<pid_t>(pid)); },
        1s);
}
