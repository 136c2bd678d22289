#include "platform/ui/SystemMenu.h"

#include "platform/ui/WinUser.h"

#include <QAction>
#include <QMenu>
#include <QVariant>

namespace SystemMenu {

namespace {

constexpr const char* kObjectName = "systemMenu";
// How many entries the menu had before the program appended any.
constexpr const char* kStandardCount = "standardEntries";

void AddCommand(QMenu& menu, const char* text, UINT id, bool enabled) {
    QAction* action = menu.addAction(QString::fromUtf8(text));
    action->setData(id);
    action->setEnabled(enabled);
}

} // namespace

QMenu* Create(QWidget* window, Minimise minimise, std::function<void(UINT)> choose) {
    auto* menu = new QMenu(window);
    menu->setObjectName(kObjectName);
    // A window without a minimise box shows the command disabled, as the platform does.
    AddCommand(*menu, "Mi&nimize", SC_MINIMIZE, minimise == Minimise::Offered);
    menu->addSeparator();
    AddCommand(*menu, "&Close\tAlt+F4", SC_CLOSE, true);
    menu->setProperty(kStandardCount, static_cast<int>(menu->actions().size()));
    // Queued, so that the command (which may open a modal dialog) runs after the menu has
    // closed and is no longer grabbing the keyboard.
    QObject::connect(
        menu, &QMenu::triggered, menu,
        [choose = std::move(choose)](QAction* action) { choose(action->data().toUInt()); },
        Qt::QueuedConnection);
    return menu;
}

QMenu* Of(const QWidget* window) {
    return window ? window->findChild<QMenu*>(kObjectName, Qt::FindDirectChildrenOnly) : nullptr;
}

void Revert(QMenu& menu) {
    const int standard = menu.property(kStandardCount).toInt();
    const QList<QAction*> actions = menu.actions();
    for (qsizetype pos = standard; pos < actions.size(); ++pos) {
        menu.removeAction(actions.at(pos));
        actions.at(pos)->deleteLater();
    }
}

void Open(QMenu& menu, const QPoint& globalPos) {
    menu.popup(globalPos);
}

} // namespace SystemMenu
