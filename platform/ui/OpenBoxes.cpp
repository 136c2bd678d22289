#include "platform/ui/OpenBoxes.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>

#include <vector>

void CloseOpenBoxes(const QWidget* mainWindow) {
    // Cancelling one box may close or delete others (a dialog's own boxes), so the boxes
    // are gathered first and each is looked at again before it is cancelled.
    std::vector<QPointer<QDialog>> boxes;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* box = qobject_cast<QDialog*>(window);
        if (box && box != mainWindow && box->isVisible())
            boxes.emplace_back(box);
    }
    for (const QPointer<QDialog>& box : boxes) {
        if (box && box->isVisible())
            box->reject();
    }
}
