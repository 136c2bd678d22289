#pragma once

#include <QDBusConnection>
#include <QDBusConnectionInterface>

// One client connection to a test bus, the way another program would talk to the
// automation server: plain method calls, answered with a reply or an error.
class BusClient {
  public:
    BusClient(const QString& address, const QString& name)
        : m_name(name), m_connection(QDBusConnection::connectToBus(address, name)) {}
    BusClient(const BusClient&) = delete;
    BusClient& operator=(const BusClient&) = delete;
    ~BusClient() { Disconnect(); }

    bool IsConnected() const { return m_connection.isConnected(); }

    // Activation starts a program, which takes longer than a call; a minute is far beyond it.
    QDBusMessage Call(const QString& service, const QString& path, const QString& interface,
                      const QString& member, const QVariantList& arguments = {}) {
        QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface, member);
        call.setArguments(arguments);
        return m_connection.call(call, QDBus::Block, 60000);
    }
    // CreateInstance on the factory object of `service`; the reply's sender is the server.
    QDBusMessage CreateInstance(const QString& service, const QString& iid) {
        return Call(service, "/", "Murmelo.ClassFactory", "CreateInstance", {iid});
    }
    // Release() on an object of the server with the unique name `server`.
    QDBusMessage Release(const QString& server, const QString& path) {
        return Call(server, path, "Murmelo.IUnknown", "Release");
    }

    bool NameHasOwner(const QString& name) {
        return m_connection.interface()->isServiceRegistered(name).value();
    }
    // The process id of the connection `name`, or 0.
    uint ProcessOf(const QString& name) {
        return m_connection.interface()->servicePid(name).value();
    }

    // Closes the connection, as a client that ends does. The connection closes when its last
    // handle goes, so ours goes first.
    void Disconnect() {
        m_connection = QDBusConnection(QString());
        QDBusConnection::disconnectFromBus(m_name);
    }

  private:
    QString m_name;
    QDBusConnection m_connection;
};

// The object path a successful CreateInstance answered with.
inline QString ObjectPathOf(const QDBusMessage& reply) {
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().size() != 1)
        return QString();
    return reply.arguments().front().value<QDBusObjectPath>().path();
}
