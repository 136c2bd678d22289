#include "platform/ole/ClassFactoryServer.h"

#include "platform/ole/COleAutomationTarget.h"
#include "platform/ole/COleObjectFactory.h"
#include "platform/ole/DBusAutomationObject.h"
#include "platform/ole/GuidString.h"
#include "platform/ole/OleServerState.h"

#include <QCoreApplication>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QVariantMap>

#include <optional>
#include <vector>

namespace {

constexpr const char* kFactoryInterface = "Murmelo.ClassFactory";
constexpr const char* kObjectFolder = "/objects";

constexpr const char* kIntrospectable = "org.freedesktop.DBus.Introspectable";
constexpr const char* kProperties = "org.freedesktop.DBus.Properties";

// The answers a client can get instead of what it asked for.
constexpr const char* kErrorUnknownMethod = "org.freedesktop.DBus.Error.UnknownMethod";
constexpr const char* kErrorUnknownObject = "org.freedesktop.DBus.Error.UnknownObject";
constexpr const char* kErrorUnknownProperty = "org.freedesktop.DBus.Error.UnknownProperty";
constexpr const char* kErrorInvalidArgs = "org.freedesktop.DBus.Error.InvalidArgs";
constexpr const char* kErrorNoInterface = "Murmelo.Error.NoInterface";
constexpr const char* kErrorAlreadyCreated = "Murmelo.Error.AlreadyCreated";
constexpr const char* kErrorNotReady = "Murmelo.Error.NotReady";
constexpr const char* kErrorCreateFailed = "Murmelo.Error.CreateFailed";
constexpr const char* kErrorNotOwner = "Murmelo.Error.NotOwner";

constexpr const char* kFactoryXml = "  <interface name=\"Murmelo.ClassFactory\">\n"
                                    "    <method name=\"CreateInstance\">\n"
                                    "      <arg name=\"iid\" type=\"s\" direction=\"in\"/>\n"
                                    "      <arg name=\"object\" type=\"o\" direction=\"out\"/>\n"
                                    "    </method>\n"
                                    "  </interface>\n";

bool IsInterface(const QDBusMessage& message, const char* name) {
    return message.interface() == QLatin1String(name);
}

// A call may leave out the interface; then the member name alone decides.
bool IsCallTo(const QDBusMessage& message, const char* interface, const char* member) {
    return (message.interface().isEmpty() || IsInterface(message, interface)) &&
           message.member() == QLatin1String(member);
}

// The bus connections must close while the application object still exists: once it is
// gone, QtDBus can no longer take a connection down, and a factory that is only destroyed
// with the other static objects would hang the program on its way out. The application
// object runs the routine once, as it goes.
bool g_closeRoutineAdded = false;

void CloseFactoriesBeforeTheApplicationGoes() {
    if (g_closeRoutineAdded)
        return;
    g_closeRoutineAdded = true;
    qAddPostRoutine([] {
        g_closeRoutineAdded = false;
        COleObjectFactory::RevokeAll();
    });
}

} // namespace

std::unique_ptr<ClassFactoryServer> ClassFactoryServer::Start(const COleObjectFactory& factory) {
    // Without an application object QtDBus has no thread to deliver requests on.
    if (QCoreApplication::instance() == nullptr)
        return nullptr;
    CloseFactoriesBeforeTheApplicationGoes();
    const QString connectionName =
        QStringLiteral("Murmelo class factory %1").arg(QString::fromStdString(factory.GetProgID()));
    QDBusConnection connection =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName);
    if (!connection.isConnected()) {
        QDBusConnection::disconnectFromBus(connectionName);
        return nullptr;
    }

    std::unique_ptr<ClassFactoryServer> server(new ClassFactoryServer(factory, connectionName));
    // Serve first, then take the name: a client the bus has been holding for us may call
    // the very moment the name is ours.
    if (!server->m_connection.registerVirtualObject(QStringLiteral("/"), server.get(),
                                                    QDBusConnection::SubPath))
        return nullptr;
    if (!server->m_connection.registerService(QString::fromStdString(factory.GetProgID())))
        return nullptr;
    server->m_bOwnsName = true;
    return server;
}

ClassFactoryServer::ClassFactoryServer(const COleObjectFactory& factory,
                                       const QString& connectionName)
    : m_factory(factory), m_connectionName(connectionName),
      m_connection(QDBusConnection(connectionName)),
      m_clients(QString(), m_connection, QDBusServiceWatcher::WatchForUnregistration) {
    QObject::connect(&m_clients, &QDBusServiceWatcher::serviceUnregistered, this,
                     [this](const QString& client) { OnClientGone(client); });
}

ClassFactoryServer::~ClassFactoryServer() {
    // Objects that clients still hold are abandoned, not released: this runs when the
    // program ends, and releasing them would call back into a framework that is going.
    m_connection.unregisterObject(QStringLiteral("/"), QDBusConnection::UnregisterTree);
    QDBusConnection::disconnectFromBus(m_connectionName);
}

QString ClassFactoryServer::introspect(const QString& path) const {
    if (path == QLatin1String("/"))
        return QLatin1String(kFactoryXml) +
               (m_objects.empty() ? QString() : QStringLiteral("  <node name=\"objects\"/>\n"));
    if (path == QLatin1String(kObjectFolder)) {
        QString xml;
        for (const auto& [objectPath, object] : m_objects)
            xml += QStringLiteral("  <node name=\"%1\"/>\n").arg(objectPath.section('/', -1));
        return xml;
    }
    if (const auto it = m_objects.find(path); it != m_objects.end())
        return it->second->IntrospectionXml();
    return QString();
}

bool ClassFactoryServer::handleMessage(const QDBusMessage& message, const QDBusConnection&) {
    // Introspection is the connection's own business: it asks introspect() for our part.
    if (IsInterface(message, kIntrospectable))
        return false;
    const QString path = message.path();
    if (path == QLatin1String("/"))
        return HandleFactoryCall(message);
    if (const auto it = m_objects.find(path); it != m_objects.end())
        return HandleObjectCall(message, *it->second);
    ReplyError(message, kErrorUnknownObject, QStringLiteral("There is no object at %1.").arg(path));
    return true;
}

bool ClassFactoryServer::HandleFactoryCall(const QDBusMessage& message) {
    if (IsInterface(message, kProperties)) {
        HandlePropertiesCall(message, {QLatin1String(kFactoryInterface)});
    } else if (!IsCallTo(message, kFactoryInterface, "CreateInstance")) {
        ReplyError(message, kErrorUnknownMethod,
                   QStringLiteral("The class factory has no member %1.%2.")
                       .arg(message.interface(), message.member()));
    } else if (message.signature() != QLatin1String("s")) {
        ReplyError(message, kErrorInvalidArgs,
                   QStringLiteral("CreateInstance takes one string, the interface id."));
    } else {
        CreateInstance(message);
    }
    return true;
}

bool ClassFactoryServer::HandleObjectCall(const QDBusMessage& message,
                                          DBusAutomationObject& object) {
    if (IsInterface(message, kProperties)) {
        HandlePropertiesCall(message, object.Interfaces());
    } else if (!IsCallTo(message, DBusAutomationObject::kUnknownInterface, "Release")) {
        ReplyError(message, kErrorUnknownMethod,
                   QStringLiteral("The object has no member %1.%2.")
                       .arg(message.interface(), message.member()));
    } else if (!message.signature().isEmpty()) {
        ReplyError(message, kErrorInvalidArgs, QStringLiteral("Release takes no arguments."));
    } else if (message.service() != object.Owner()) {
        ReplyError(message, kErrorNotOwner,
                   QStringLiteral("Only the connection that created the object can release it."));
    } else {
        ReleaseObject(message, message.path());
    }
    return true;
}

void ClassFactoryServer::HandlePropertiesCall(const QDBusMessage& message,
                                              const QStringList& interfaces) const {
    // None of the interfaces has a property: GetAll of one of them (or of all, named by an
    // empty string) is empty, and any single property a client names does not exist.
    const QString interface = message.arguments().value(0).toString();
    if (message.member() == QLatin1String("GetAll") && message.signature() == QLatin1String("s") &&
        (interface.isEmpty() || interfaces.contains(interface))) {
        Reply(message, {QVariant::fromValue(QVariantMap())});
    } else if (message.member() == QLatin1String("GetAll") ||
               message.member() == QLatin1String("Get") ||
               message.member() == QLatin1String("Set")) {
        ReplyError(message, kErrorUnknownProperty,
                   QStringLiteral("The interface %1 has no such property here.").arg(interface));
    } else {
        ReplyError(message, kErrorUnknownMethod,
                   QStringLiteral("No member %1.%2.").arg(message.interface(), message.member()));
    }
}

void ClassFactoryServer::CreateInstance(const QDBusMessage& message) {
    const QString iidText = message.arguments().value(0).toString();
    if (m_factory.IsMultiInstance() && m_bCreated) {
        ReplyError(message, kErrorAlreadyCreated,
                   QStringLiteral("This server has already created its object; ask the bus for "
                                  "%1 again to start a new one.")
                       .arg(QString::fromStdString(m_factory.GetProgID())));
        return;
    }
    const std::optional<IID> iid = GUIDFromString(iidText.toStdString());
    if (!iid) {
        ReplyError(message, kErrorNoInterface,
                   QStringLiteral("%1 is not an interface id.").arg(iidText));
        return;
    }
    if (!OleServerState::CanCreateObject()) {
        ReplyError(message, kErrorNotReady,
                   QStringLiteral("The application is not ready to create objects."));
        return;
    }

    // The factory holds the application while it creates, so that an object it has to
    // give back at once, because it lacks the interface, does not count as the last
    // object going: a refused request leaves the server as it found it.
    OleServerState::Lock();
    COleAutomationTarget* target = CreateTarget();
    if (target == nullptr) {
        OleServerState::Unlock(Notify::No);
        ReplyError(message, kErrorCreateFailed, QStringLiteral("The object could not be created."));
        return;
    }
    const HRESULT hr = target->ExternalQueryInterface(*iid);
    // The creation reference goes; on success the interface's reference stays, for the client.
    target->ExternalRelease();
    if (FAILED(hr)) {
        OleServerState::Unlock(Notify::No);
        ReplyError(message, kErrorNoInterface,
                   QStringLiteral("The object does not have the interface %1.").arg(iidText));
        return;
    }

    const QString client = message.service();
    const QString path =
        QStringLiteral("%1/%2").arg(QLatin1String(kObjectFolder)).arg(m_nextObject++);
    m_objects.emplace(path, std::make_unique<DBusAutomationObject>(*target, client));
    m_clients.addWatchedService(client);

    // Single use: the next client's request must start a new process. The name goes
    // before the answer does, so that a client that asks again once it has its answer
    // already finds the name free.
    if (m_factory.IsMultiInstance()) {
        m_bCreated = true;
        GiveUpName();
    }
    Reply(message, {QVariant::fromValue(QDBusObjectPath(path))});
    OleServerState::Unlock(Notify::No);

    // A client that went away before we watched it would never be reported.
    if (!m_connection.interface()->isServiceRegistered(client).value())
        OnClientGone(client);
}

COleAutomationTarget* ClassFactoryServer::CreateTarget() const {
    std::unique_ptr<CObject> object(m_factory.GetRuntimeClass()->CreateObject());
    auto* target = dynamic_cast<COleAutomationTarget*>(object.get());
    if (target == nullptr)
        return nullptr;
    // From here the object owns itself and goes with its last reference.
    object.release();
    return target;
}

void ClassFactoryServer::ReleaseObject(const QDBusMessage& message, const QString& path) {
    const auto it = m_objects.find(path);
    std::unique_ptr<DBusAutomationObject> object = std::move(it->second);
    m_objects.erase(it);
    StopWatchingIfIdle(object->Owner());
    Reply(message);
    // The release can end the program, so it comes last.
    object->Release();
}

void ClassFactoryServer::OnClientGone(const QString& client) {
    m_clients.removeWatchedService(client);
    std::vector<std::unique_ptr<DBusAutomationObject>> gone;
    for (auto it = m_objects.begin(); it != m_objects.end();) {
        if (it->second->Owner() == client) {
            gone.push_back(std::move(it->second));
            it = m_objects.erase(it);
        } else {
            ++it;
        }
    }
    for (const std::unique_ptr<DBusAutomationObject>& object : gone)
        object->Release();
}

void ClassFactoryServer::StopWatchingIfIdle(const QString& client) {
    for (const auto& [path, object] : m_objects) {
        if (object->Owner() == client)
            return;
    }
    m_clients.removeWatchedService(client);
}

void ClassFactoryServer::GiveUpName() {
    if (m_bOwnsName)
        m_connection.unregisterService(QString::fromStdString(m_factory.GetProgID()));
    m_bOwnsName = false;
}

void ClassFactoryServer::Reply(const QDBusMessage& message, const QVariantList& arguments) const {
    m_connection.send(message.createReply(arguments));
}

void ClassFactoryServer::ReplyError(const QDBusMessage& message, const char* name,
                                    const QString& text) const {
    m_connection.send(message.createErrorReply(QLatin1String(name), text));
}
