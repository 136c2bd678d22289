#pragma once

#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QDBusVirtualObject>

#include <map>
#include <memory>

class COleAutomationTarget;
class COleObjectFactory;
class DBusAutomationObject;

// A class factory registered as running: its own connection to the session bus, owning
// the bus name that equals the factory's ProgID, serving the factory object at "/" and
// the objects it created at "/objects/<n>". Clients' requests arrive on the program's
// thread between its other events.
class ClassFactoryServer : public QDBusVirtualObject {
  public:
    // Connects, serves and takes the name; null when any of it fails, with nothing left
    // behind on the bus.
    static std::unique_ptr<ClassFactoryServer> Start(const COleObjectFactory& factory);
    ~ClassFactoryServer() override;

    bool OwnsName() const { return m_bOwnsName; }

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

  private:
    ClassFactoryServer(const COleObjectFactory& factory, const QString& connectionName);

    bool HandleFactoryCall(const QDBusMessage& message);
    bool HandleObjectCall(const QDBusMessage& message, DBusAutomationObject& object);
    void HandlePropertiesCall(const QDBusMessage& message, const QStringList& interfaces) const;
    void CreateInstance(const QDBusMessage& message);
    COleAutomationTarget* CreateTarget() const;
    void ReleaseObject(const QDBusMessage& message, const QString& path);
    void OnClientGone(const QString& client);
    void StopWatchingIfIdle(const QString& client);
    void GiveUpName();

    void Reply(const QDBusMessage& message, const QVariantList& arguments = {}) const;
    void ReplyError(const QDBusMessage& message, const char* name, const QString& text) const;

    const COleObjectFactory& m_factory;
    QString m_connectionName;
    QDBusConnection m_connection;
    QDBusServiceWatcher m_clients;
    std::map<QString, std::unique_ptr<DBusAutomationObject>> m_objects;
    unsigned m_nextObject = 1;
    bool m_bOwnsName = false;
    bool m_bCreated = false;
};
