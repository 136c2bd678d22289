#include "tests/support/BusClient.h"

#include <QDBusConnectionInterface>
#include <QDBusObjectPath>

namespace {

// Activation starts a program, which takes longer than a call; a minute is far beyond it.
constexpr int kCallTimeoutMs = 60000;

} // namespace

BusClient::BusClient(const QString& address, const QString& name)
    : m_name(name), m_connection(QDBusConnection::connectToBus(address, name)) {}

BusClient::~BusClient() {
    Disconnect();
}

QDBusMessage BusClient::Call(const QString& service, const QString& path, const QString& interface,
                             const QString& member, const QVariantList& arguments) {
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, member);
    call.setArguments(arguments);
    return m_connection.call(call, QDBus::Block, kCallTimeoutMs);
}

QDBusMessage BusClient::CreateInstance(const QString& service, const QString& iid) {
    return Call(service, QStringLiteral("/"), QStringLiteral("Murmelo.ClassFactory"),
                QStringLiteral("CreateInstance"), {iid});
}

QDBusMessage BusClient::Release(const QString& server, const QString& path) {
    return Call(server, path, QStringLiteral("Murmelo.IUnknown"), QStringLiteral("Release"));
}

bool BusClient::NameHasOwner(const QString& name) {
    return m_connection.interface()->isServiceRegistered(name).value();
}

uint BusClient::ProcessOf(const QString& name) {
    return m_connection.interface()->servicePid(name).value();
}

void BusClient::Disconnect() {
    // The connection closes when its last handle goes, so ours goes first.
    m_connection = QDBusConnection(QString());
    QDBusConnection::disconnectFromBus(m_name);
}

QString ObjectPathOf(const QDBusMessage& reply) {
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1)
        return QString();
    return reply.arguments().front().value<QDBusObjectPath>().path();
}
