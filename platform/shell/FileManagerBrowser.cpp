#include "platform/shell/FileManagerBrowser.h"

#include "platform/process/CreateProcess.h"
#include "platform/shell/FileUri.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>
#include <QVariant>
#include <chrono>
#include <filesystem>
#include <optional>

namespace {

const QString kService = QStringLiteral("org.freedesktop.FileManager1");
const QString kObject = QStringLiteral("/org/freedesktop/FileManager1");

const QString kBusService = QStringLiteral("org.freedesktop.DBus");
const QString kBusObject = QStringLiteral("/org/freedesktop/DBus");

// The bus is asked on the dialog's thread; a bus that does not answer must not hold the
// dialog longer than this in all (Qt's own default would be 25 s a call).
constexpr std::chrono::milliseconds kBusTimeLimit{1000};

// The bus's answer to one question, or nothing when it gave none before the deadline.
std::optional<QVariant> AskBus(const QDBusConnection& bus, const QString& method,
                               const QVariantList& arguments,
                               std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0)
        return std::nullopt;
    QDBusMessage question =
        QDBusMessage::createMethodCall(kBusService, kBusObject, kBusService, method);
    question.setArguments(arguments);
    const QDBusMessage reply = bus.call(question, QDBus::Block, static_cast<int>(left.count()));
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
        return std::nullopt;
    return reply.arguments().front();
}

// A name that nobody owns and that the bus cannot start would swallow the call silently,
// so the folder is opened instead.
bool FileManagerReachable(const QDBusConnection& bus) {
    if (!bus.isConnected())
        return false;
    const auto deadline = std::chrono::steady_clock::now() + kBusTimeLimit;
    const auto owned = AskBus(bus, QStringLiteral("NameHasOwner"), {kService}, deadline);
    if (!owned)
        return false;
    if (owned->toBool())
        return true;
    const auto startable = AskBus(bus, QStringLiteral("ListActivatableNames"), {}, deadline);
    return startable && startable->toStringList().contains(kService);
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
