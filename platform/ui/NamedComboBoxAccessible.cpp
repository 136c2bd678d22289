#include "platform/ui/NamedComboBoxAccessible.h"

#include <QComboBox>

namespace {

QAccessibleInterface* CreateForNamedComboBox(const QString& className, QObject* object) {
    auto* combo = qobject_cast<QComboBox*>(object);
    if (className != QLatin1String("QComboBox") || !combo || combo->accessibleName().isEmpty())
        return nullptr;
    return new NamedComboBoxAccessible(combo);
}

} // namespace

NamedComboBoxAccessible::NamedComboBoxAccessible(QComboBox* combo)
    : QAccessibleWidget(combo, QAccessible::ComboBox) {}

QString NamedComboBoxAccessible::text(QAccessible::Text t) const {
    const auto* combo = static_cast<const QComboBox*>(widget());
    switch (t) {
    case QAccessible::Name:
        return combo->accessibleName();
    case QAccessible::Value:
        return combo->currentText();
    default:
        return QAccessibleWidget::text(t);
    }
}

void NamedComboBoxAccessible::Install() {
    static const bool installed = [] {
        QAccessible::installFactory(CreateForNamedComboBox);
        return true;
    }();
    static_cast<void>(installed);
}
