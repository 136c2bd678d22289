#include "platform/ui/DialogWindow.h"

#include "platform/ui/CDialog.h"
#include "platform/ui/DialogLayout.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/FirstShowReport.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>

namespace {

Qt::WindowFlags FlagsOf(const DialogTemplate& dialogTemplate) {
    Qt::WindowFlags flags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (dialogTemplate.style & WS_SYSMENU)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (dialogTemplate.style & WS_MINIMIZEBOX)
        flags |= Qt::WindowMinimizeButtonHint;
    return flags;
}

bool IsEnterKey(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

} // namespace

DialogWindow::DialogWindow(CDialog& owner, const DialogTemplate& dialogTemplate, QWidget* parent)
    : QDialog(parent, FlagsOf(dialogTemplate)), m_owner(owner), m_template(dialogTemplate) {
    setWindowModality(Qt::ApplicationModal);
    setWindowTitle(QString::fromUtf8(dialogTemplate.caption));
    const DialogLayout layout(dialogTemplate);
    setFont(layout.Font());
    setFixedSize(layout.ToPixels(QRect(0, 0, dialogTemplate.cx, dialogTemplate.cy)).size());
    for (const DialogControl& control : dialogTemplate.controls) {
        QWidget* widget = layout.CreateControl(control, this);
        ConnectNotifications(widget, control);
    }
}

void DialogWindow::ConnectNotifications(QWidget* widget, const DialogControl& control) {
    const int id = control.id;
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        connect(button, &QAbstractButton::clicked, this,
                [this, id] { SendCommand(id, BN_CLICKED); });
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        // activated is the user's choice only; a selection set by the program is silent.
        connect(combo, &QComboBox::activated, this, [this, id] { SendCommand(id, CBN_SELCHANGE); });
    } else if (auto* edit = qobject_cast<QPlainTextEdit*>(widget);
               edit && !(control.style & ES_WANTRETURN)) {
        // Without "want return", Enter in a multi-line edit belongs to the dialog.
        edit->installEventFilter(this);
    }
}

void DialogWindow::SendCommand(int id, unsigned code) {
    m_owner.RouteFromUser(WM_COMMAND, MAKEWPARAM(static_cast<UINT>(id), code), 0);
}

void DialogWindow::PressDefaultButton() {
    // A focused push button takes Enter itself; otherwise the template's default push
    // button does, or IDOK where the template names none.
    int id = IDOK;
    for (const DialogControl& control : m_template.controls) {
        if (control.kind == ControlKind::PushButton && (control.style & BS_DEFPUSHBUTTON))
            id = control.id;
    }
    auto* button = findChild<QPushButton*>(QString::number(id), Qt::FindDirectChildrenOnly);
    if (button && !button->isEnabled())
        return;
    SendCommand(id, BN_CLICKED);
}

void DialogWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        SendCommand(IDCANCEL, BN_CLICKED);
        return;
    }
    if (IsEnterKey(event)) {
        PressDefaultButton();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool DialogWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (IsEnterKey(key) && !(key->modifiers() & Qt::ControlModifier)) {
            PressDefaultButton();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void DialogWindow::closeEvent(QCloseEvent* event) {
    // The close box asks; the dialog's WM_CLOSE processing decides whether it ends.
    event->ignore();
    m_owner.RouteFromUser(WM_CLOSE);
}

void DialogWindow::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    FirstShowReport::WindowPainted();
}
