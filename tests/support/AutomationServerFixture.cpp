#include "tests/support/AutomationServerFixture.h"

#include "tests/support/ChildProcess.h"
#include "tests/support/Eventually.h"

#include <cstdlib>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

AutomationServerFixture::AutomationServerFixture(const QString& program, const QString& progId,
                                                 const QProcessEnvironment& variables)
    : m_program(program), m_progId(progId),
      m_bus(fs::path(std::getenv("XDG_DATA_HOME")) / "dbus-1" / "services", variables) {}

void AutomationServerFixture::SetUp() {
    ASSERT_TRUE(m_bus.IsRunning()) << "dbus-daemon did not start";
}

fs::path AutomationServerFixture::ActivationFile() const {
    return m_bus.ServiceFolder() / (m_progId.toStdString() + ".service");
}

std::unique_ptr<OwnedProcess> AutomationServerFixture::Start(const QStringList& arguments) {
    return std::make_unique<OwnedProcess>(m_program, arguments, m_bus.Environment());
}

std::unique_ptr<OwnedProcess> AutomationServerFixture::StartByUser() {
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

void AutomationServerFixture::InstallActivationFile() {
    ASSERT_NE(StartByUser(), nullptr) << "a user start wrote no activation file";
}

QString AutomationServerFixture::CreateObject(BusClient& client, const QString& iid,
                                              QString* pPath) {
    const QDBusMessage reply = client.CreateInstance(m_progId, iid);
    EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    if (pPath)
        *pPath = ObjectPathOf(reply);
    return reply.service();
}

bool AutomationServerFixture::EndsWithinASecond(const QString& server, uint pid) {
    BusClient observer(m_bus.Address(), QStringLiteral("observer"));
    return Eventually(
        [&] { return !observer.NameHasOwner(server) && ProcessEnded(static_cast<pid_t>(pid)); },
        1s);
}
