#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QString>
#include <QVariantList>

// One client connection to a test bus, the way another program would talk to the
// automation server: plain method calls, answered with a reply or an error.
class BusClient {
  public:
    BusClient(const QString& address, const QString& name);
    BusClient(const BusClient&) = delete;
    BusClient& operator=(const BusClient&) = delete;
    ~BusClient();

    bool IsConnected() const { return m_connection.isConnected(); }
    QString UniqueName() const { return m_connection.baseService(); }

    QDBusMessage Call(const QString& service, const QString& path, const QString& interface,
                      const QString& member, const QVariantList& arguments = {});

    // CreateInstance on the factory object of `service`; the reply's sender is the server.
    QDBusMessage CreateInstance(const QString& service, const QString& iid);
    // Release() on an object of the server with the unique name `server`.
    QDBusMessage Release(const QString& server, const QString& path);

    bool NameHasOwner(const QString& name);
    // The process id of the connection `name`, or 0.
    uint ProcessOf(const QString& name);

    // Closes the connection, as a client that ends does.
    void Disconnect();

  private:
    QString m_name;
    QDBusConnection m_connection;
};

// The object path a successful CreateInstance answered with.
QString ObjectPathOf(const QDBusMessage& reply);
