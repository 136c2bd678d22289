#include "tests/automation/MurmeloServerTest.h"

#include "automation/CMurmeloDlgAutoProxy.h"
#include "platform/ole/GuidString.h"

#include <QDeadlineTimer>
#include <QThread>

#include <cstdlib>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

// A start of the program takes a fraction of that; the limit only stops a hung test.
constexpr int kStartLimitMs = 10000;

} // namespace

void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

QString IidMurmelo() {
    return QString::fromStdString(StringFromGUID(IID_IMurmelo));
}

fs::path ActivationFile() {
    return TestSessionBus::ServiceFolder() / "Murmelo.Application.service";
}

bool ProcessEnded(uint pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return true;
    const std::size_t end = line.rfind(')');
    return end == std::string::npos || end + 2 >= line.size() || line[end + 2] == 'Z' ||
           line[end + 2] == 'X';
}

MurmeloProcess::MurmeloProcess(const QStringList& arguments,
                               const QProcessEnvironment& environment) {
    setProcessEnvironment(environment);
    setProcessChannelMode(QProcess::ForwardedErrorChannel);
    start(QStringLiteral(MURMELO_PROGRAM), arguments);
}

MurmeloProcess::~MurmeloProcess() {
    kill();
    waitForFinished();
}

ServerEnvironment::ServerEnvironment(const char* platform, const QString& display) {
    setenv("QT_QPA_PLATFORM", platform, 1);
    setenv("MURMELO_AUDIO", "null", 1);
    if (display.isEmpty())
        unsetenv("DISPLAY");
    else
        setenv("DISPLAY", display.toLocal8Bit().constData(), 1);
}

MurmeloServerTest::MurmeloServerTest(const char* platform, const QString& display)
    : m_environment(platform, display) {}

void MurmeloServerTest::SetUp() {
    ASSERT_TRUE(m_bus.IsRunning()) << "dbus-daemon did not start";
}

std::unique_ptr<MurmeloProcess> MurmeloServerTest::StartByUser() {
    auto process = std::make_unique<MurmeloProcess>(QStringList(), m_bus.Environment());
    const QDeadlineTimer deadline(kStartLimitMs);
    while (!fs::exists(ActivationFile())) {
        if (deadline.hasExpired() || process->state() == QProcess::NotRunning)
            return nullptr;
        QThread::msleep(10);
    }
    return process;
}

void MurmeloServerTest::InstallActivationFile() {
    ASSERT_NE(StartByUser(), nullptr) << "a user start wrote no activation file";
}

QString MurmeloServerTest::CreateObject(BusClient& client, const QString& iid, QString* pPath) {
    const QDBusMessage reply = client.CreateInstance(kProgId, iid);
    EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    if (pPath)
        *pPath = ObjectPathOf(reply);
    return reply.service();
}

bool MurmeloServerTest::EndsWithinASecond(const QString& server, uint pid) {
    BusClient observer(m_bus.Address(), QStringLiteral("observer"));
    const QDeadlineTimer deadline(1000);
    while (!deadline.hasExpired()) {
        if (!observer.NameHasOwner(server) && ProcessEnded(pid))
            return true;
        QThread::msleep(10);
    }
    return false;
}
