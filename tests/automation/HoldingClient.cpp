// A client that creates Murmelo's automation object and then holds it until it is killed,
// as a program that crashes while it holds the object would. It prints the server's unique
// name once it has the object. Its one argument is the interface id it asks for.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>

#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QDBusMessage create = QDBusMessage::createMethodCall(
        QStringLiteral("Murmelo.Application"), QStringLiteral("/"),
        QStringLiteral("Murmelo.ClassFactory"), QStringLiteral("CreateInstance"));
    create << QString::fromUtf8(argc > 1 ? argv[1] : "");
    const QDBusMessage reply = QDBusConnection::sessionBus().call(create, QDBus::Block, 20000);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        std::fprintf(stderr, "%s\n", qPrintable(reply.errorMessage()));
        return 1;
    }
    std::printf("%s\n", qPrintable(reply.service()));
    std::fflush(stdout);
    return app.exec();
}
