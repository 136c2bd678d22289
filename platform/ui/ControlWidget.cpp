#include "platform/ui/ControlWidget.h"

#include "platform/ui/WinUser.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace ControlWidget {

void SetText(QWidget* widget, const std::string& text) {
    const QString value = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->setText(value);
    else if (auto* multiLine = qobject_cast<QPlainTextEdit*>(widget))
        multiLine->setPlainText(value);
    else if (auto* button = qobject_cast<QAbstractButton*>(widget))
        button->setText(value);
    else if (auto* label = qobject_cast<QLabel*>(widget))
        label->setText(value);
    else if (auto* group = qobject_cast<QGroupBox*>(widget))
        group->setTitle(value);
    else if (widget)
        widget->setWindowTitle(value);
}

std::string GetText(const QWidget* widget) {
    QString value;
    if (auto* edit = qobject_cast<const QLineEdit*>(widget))
        value = edit->text();
    else if (auto* multiLine = qobject_cast<const QPlainTextEdit*>(widget))
        value = multiLine->toPlainText();
    else if (auto* button = qobject_cast<const QAbstractButton*>(widget))
        value = button->text();
    else if (auto* label = qobject_cast<const QLabel*>(widget))
        value = label->text();
    else if (auto* group = qobject_cast<const QGroupBox*>(widget))
        value = group->title();
    else if (auto* combo = qobject_cast<const QComboBox*>(widget))
        value = combo->currentText();
    else if (widget)
        value = widget->windowTitle();
    return value.toStdString();
}

void SetCheck(QWidget* widget, int state) {
    auto* box = qobject_cast<QCheckBox*>(widget);
    if (!box)
        return;
    // The boxes of the templates toggle between two states. A third state shown once would
    // make the box cycle through three for good, so 2 is shown as checked.
    box->setChecked(state == 1 || state == 2);
}

int GetCheck(const QWidget* widget) {
    auto* box = qobject_cast<const QCheckBox*>(widget);
    return box && box->isChecked() ? 1 : 0;
}

void SelectAllText(QWidget* widget) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        edit->selectAll();
    else if (auto* multiLine = qobject_cast<QPlainTextEdit*>(widget))
        multiLine->selectAll();
}

namespace {

LRESULT HandleComboMessage(QComboBox* combo, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case CB_ADDSTRING: {
        // The list is not sorted: a new item always goes to the end.
        const char* text = reinterpret_cast<const char*>(lParam);
        combo->addItem(QString::fromUtf8(text ? text : ""));
        return combo->count() - 1;
    }
    case CB_RESETCONTENT:
        combo->clear();
        return 0;
    case CB_GETCOUNT:
        return combo->count();
    case CB_GETCURSEL:
        return combo->currentIndex() >= 0 ? combo->currentIndex() : CB_ERR;
    case CB_SETCURSEL: {
        // Only the user's choice is a selection change, so this emits no notification. A
        // position outside the list clears the selection.
        const auto index = static_cast<std::intptr_t>(wParam);
        if (index < 0 || index >= combo->count()) {
            combo->setCurrentIndex(-1);
            return CB_ERR;
        }
        combo->setCurrentIndex(static_cast<int>(index));
        return index;
    }
    default:
        return 0;
    }
}

} // namespace

LRESULT HandleMessage(QWidget* widget, UINT message, WPARAM wParam, LPARAM lParam) {
    if (auto* combo = qobject_cast<QComboBox*>(widget))
        return HandleComboMessage(combo, message, wParam, lParam);
    // The framework sends EM_SETSEL only to select the whole text of a failing entry.
    if (message == EM_SETSEL)
        SelectAllText(widget);
    return 0;
}

} // namespace ControlWidget
