#include "platform/ole/DBusAutomationObject.h"

#include "platform/ole/COleAutomationTarget.h"

#include <utility>

DBusAutomationObject::DBusAutomationObject(COleAutomationTarget& target, QString owner)
    : m_pTarget(&target),
      m_owner(std::move(owner)), m_interfaces{QString::fromLatin1(kUnknownInterface)} {
    // Without automation the object has no dispatch interface to publish.
    if (!target.IsAutomationEnabled())
        return;
    for (const AFX_INTERFACEMAP* map = target.GetInterfaceMap(); map != nullptr;
         map = map->pBaseMap) {
        for (const AFX_INTERFACEMAP_ENTRY& entry : map->entries) {
            const QString name = QString::fromUtf8(entry.lpszName);
            if (!m_interfaces.contains(name))
                m_interfaces.append(name);
        }
    }
}

QString DBusAutomationObject::IntrospectionXml() const {
    QString xml = QStringLiteral("  <interface name=\"%1\">\n"
                                 "    <method name=\"Release\"/>\n"
                                 "  </interface>\n")
                      .arg(m_interfaces.front());
    // The dispatch interfaces carry no members: the program's automation class has none.
    for (qsizetype i = 1; i < m_interfaces.size(); ++i)
        xml += QStringLiteral("  <interface name=\"%1\"/>\n").arg(m_interfaces[i]);
    return xml;
}

void DBusAutomationObject::Release() {
    m_pTarget->ExternalRelease();
}
