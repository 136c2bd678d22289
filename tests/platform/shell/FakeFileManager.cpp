#include "tests/platform/shell/FakeFileManager.h"

#include <QDBusMessage>

namespace {
const QString kConnectionName = QStringLiteral("fake-file-manager");
const QString kService = QStringLiteral("org.freedesktop.FileManager1");
const QString kObject = QStringLiteral("/org/freedesktop/FileManager1");
} // namespace

// A connection of its own, so that the bus sees a peer other than the code under test.
FakeFileManager::FakeFileManager()
    : m_connection(QDBusConnection::connectToBus(QDBusConnection::SessionBus, kConnectionName)) {
    m_registered =
        m_connection.registerVirtualObject(kObject, this) && m_connection.registerService(kService);
}

FakeFileManager::~FakeFileManager() {
    m_connection.unregisterService(kService);
    m_connection.unregisterObject(kObject);
    QDBusConnection::disconnectFromBus(kConnectionName);
}

QString FakeFileManager::introspect(const QString&) const {
    return QStringLiteral("<interface name=\"org.freedesktop.FileManager1\">"
                          "<method name=\"ShowItems\">"
                          "<arg type=\"as\" name=\"URIs\" direction=\"in\"/>"
                          "<arg type=\"s\" name=\"StartupId\" direction=\"in\"/>"
                          "</method></interface>");
}

bool FakeFileManager::handleMessage(const QDBusMessage& message,
                                    const QDBusConnection& connection) {
    if (message.interface() != kService || message.member() != "ShowItems") {
        return false;
    }
    QList<QVariant> arguments = message.arguments();
    Call call{message.signature(), {}, {}};
    if (arguments.size() == 2) {
        call.uris = arguments[0].toStringList();
        call.startupId = arguments[1].toString();
    }
    m_calls.push_back(call);
    connection.send(message.createReply());
    return true;
}
