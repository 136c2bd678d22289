#pragma once

#include <QDBusConnection>
#include <QDBusVirtualObject>
#include <QStringList>
#include <vector>

// A file manager on the session bus that owns org.freedesktop.FileManager1 for as long as
// it lives, answers ShowItems and remembers each call.
class FakeFileManager : public QDBusVirtualObject {
  public:
    struct Call {
        QString signature;
        QStringList uris;
        QString startupId;
    };

    FakeFileManager();
    ~FakeFileManager() override;

    bool registered() const { return m_registered; }
    const std::vector<Call>& calls() const { return m_calls; }

    QString introspect(const QString& path) const override;
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override;

  private:
    QDBusConnection m_connection;
    bool m_registered = false;
    std::vector<Call> m_calls;
};
