#pragma once

#include <QString>
#include <QStringList>

class COleAutomationTarget;

// One automation object as a client sees it on the bus: an object path with the interface
// "Murmelo.IUnknown", whose Release() gives the client's reference back, and the dispatch
// interfaces its interface table names. The object belongs to the connection that created
// it; only that connection may release it.
class DBusAutomationObject {
  public:
    static constexpr const char* kUnknownInterface = "Murmelo.IUnknown";

    // Takes over one reference to `target`, held on behalf of the client `owner`.
    DBusAutomationObject(COleAutomationTarget& target, QString owner);

    const QString& Owner() const { return m_owner; }
    // "Murmelo.IUnknown" first, then the dispatch interfaces.
    const QStringList& Interfaces() const { return m_interfaces; }

    // The interface part of the object's introspection data.
    QString IntrospectionXml() const;

    // Gives the client's reference back. The object may be gone afterwards, so this is the
    // last thing done with it.
    void Release();

  private:
    COleAutomationTarget* m_pTarget;
    QString m_owner;
    QStringList m_interfaces;
};
