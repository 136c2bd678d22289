#include "platform/shell/FileManagerBrowser.h"

#include "platform/process/CreateProcess.h"
#include "platform/shell/FileUri.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusReply>
#include <QStringList>
#include <filesystem>

namespace {

const QString kService = QStringLiteral("org.freedesktop.FileManager1");
const QString kObject = QStringLiteral("/org/freedesktop/FileManager1");

// A name that nobody owns and that the bus cannot start would swallow the call silently,
// so the folder is opened instead.
bool FileManagerReachable(const QDBusConnection& bus) {
    QDBusConnectionInterface* daemon = bus.isConnected() ? bus.interface() : nullptr;
    if (daemon == nullptr) {
        return false;
    }
    QDBusReply<bool> owned = daemon->isServiceRegistered(kService);
    if (owned.isValid() && owned.value()) {
        return true;
    }
    QDBusReply<QStringList> startable = daemon->activatableServiceNames();
    return startable.isValid() && startable.value().contains(kService);
}

} // namespace

void FileManagerBrowser::ShowFileInFileManager(const std::string& path) {
    std::error_code error;
    std::filesystem::path file = std::filesystem::absolute(path, error).lexically_normal();
    if (error) {
        file = path;
    }

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (FileManagerReachable(bus)) {
        // The empty startup id lets the file manager raise its window without a startup
        // notification of ours. The call is sent, not awaited: the dialog goes on at once.
        QDBusMessage call = QDBusMessage::createMethodCall(kService, kObject, kService,
                                                           QStringLiteral("ShowItems"));
        call << QStringList{QString::fromStdString(FileUri(file.string()))} << QString();
        if (bus.send(call)) {
            return;
        }
    }
    // The child is released as soon as it has started; it is reaped when it ends.
    CreateProcessA({"xdg-open", file.parent_path().string()}, Launch::Shown);
}
