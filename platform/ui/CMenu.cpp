#include "platform/ui/CMenu.h"

#include "platform/ui/CWnd.h"
#include "platform/ui/SystemMenu.h"

#include <QAction>
#include <QMenu>

QMenu* CMenu::Menu() const {
    return SystemMenu::Of(m_pOwner->GetWidget());
}

BOOL CMenu::AppendMenu(UINT nFlags, UINT nIDNewItem, const char* lpszNewItem) {
    QMenu* menu = Menu();
    if (!menu)
        return FALSE;
    if (nFlags & MF_SEPARATOR) {
        menu->addSeparator();
        return TRUE;
    }
    QAction* action = menu->addAction(QString::fromUtf8(lpszNewItem ? lpszNewItem : ""));
    action->setData(nIDNewItem);
    action->setEnabled(!(nFlags & MF_GRAYED));
    return TRUE;
}

int CMenu::GetMenuItemCount() const {
    QMenu* menu = Menu();
    return menu ? static_cast<int>(menu->actions().size()) : -1;
}

UINT CMenu::GetMenuItemID(int nPos) const {
    QMenu* menu = Menu();
    if (!menu || nPos < 0 || nPos >= menu->actions().size())
        return static_cast<UINT>(-1);
    const QAction* action = menu->actions().at(nPos);
    return action->isSeparator() ? 0 : action->data().toUInt();
}

int CMenu::GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const {
    rString.Empty();
    QMenu* menu = Menu();
    if (!menu)
        return 0;
    const QList<QAction*> actions = menu->actions();
    for (qsizetype pos = 0; pos < actions.size(); ++pos) {
        const QAction* action = actions.at(pos);
        const bool match = (nFlags & MF_BYPOSITION)
                               ? pos == static_cast<qsizetype>(nIDItem)
                               : !action->isSeparator() && action->data().toUInt() == nIDItem;
        if (match) {
            rString = CString(action->text().toStdString());
            return rString.GetLength();
        }
    }
    return 0;
}
