#include "platform/ui/DialogWindow.h"

#include "platform/ui/CDC.h"
#include "platform/ui/CDialog.h"
#include "platform/ui/DialogLayout.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/FirstShowReport.h"
#include "platform/ui/IconHandle.h"
#include "platform/ui/SystemMenu.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPainter>
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
    if (dialogTemplate.style & WS_SYSMENU) {
        const auto minimise = (dialogTemplate.style & WS_MINIMIZEBOX)
                                  ? SystemMenu::Minimise::Offered
                                  : SystemMenu::Minimise::NotOffered;
        SystemMenu::Create(this, minimise,
                           [this](UINT id) { m_owner.RouteFromUser(WM_SYSCOMMAND, id, 0); });
    }
}

void DialogWindow::ConnectNotifications(QWidget* widget, const DialogControl& control) {
    const int id = control.id;
    // Every control passes its keys by the window first, for the keys that belong to the
    // window whichever control has the focus.
    widget->installEventFilter(this);
    if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
        connect(button, &QAbstractButton::clicked, this,
                [this, id] { SendCommand(id, BN_CLICKED); });
    } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        // activated is the user's choice only; a selection set by the program is silent.
        connect(combo, &QComboBox::activated, this, [this, id] { SendCommand(id, CBN_SELCHANGE); });
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

bool DialogWindow::HandleWindowKey(const QKeyEvent* event) {
    if (event->modifiers() != Qt::AltModifier)
        return false;
    // As on the platform, Alt+Space asks for the system menu and Alt+F4 closes the window;
    // both arrive as system commands, so the dialog's table sees them first.
    if (event->key() == Qt::Key_Space && SystemMenu::Of(this)) {
        m_owner.RouteFromUser(WM_SYSCOMMAND, SC_KEYMENU, ' ');
        return true;
    }
    if (event->key() == Qt::Key_F4) {
        m_owner.RouteFromUser(WM_SYSCOMMAND, SC_CLOSE, 0);
        return true;
    }
    return false;
}

bool DialogWindow::TakesEnterFromEdit(const QObject* watched) const {
    // Without "want return", Enter in a multi-line edit belongs to the dialog.
    if (!qobject_cast<const QPlainTextEdit*>(watched))
        return false;
    const int id = watched->objectName().toInt();
    for (const DialogControl& control : m_template.controls) {
        if (control.id == id)
            return !(control.style & ES_WANTRETURN);
    }
    return false;
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
    if (HandleWindowKey(event))
        return;
    QWidget::keyPressEvent(event);
}

bool DialogWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (HandleWindowKey(key))
            return true;
        if (IsEnterKey(key) && !(key->modifiers() & Qt::ControlModifier) &&
            TakesEnterFromEdit(watched)) {
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

void DialogWindow::reject() {
    m_owner.EndDialog(IDCANCEL);
}

void DialogWindow::paintEvent(QPaintEvent* event) {
    // The dialog's table may take WM_PAINT; the default processing paints as Qt does.
    m_pPaintEvent = event;
    m_owner.RouteFromUser(WM_PAINT);
    m_pPaintEvent = nullptr;
    FirstShowReport::WindowPainted();
}

void DialogWindow::contextMenuEvent(QContextMenuEvent* event) {
    // A right click on the dialog's background, or on a label or frame drawn on it, opens
    // the system menu there; controls keep their own menus.
    const QWidget* child = childAt(event->pos());
    const bool background =
        !child || qobject_cast<const QLabel*>(child) || qobject_cast<const QGroupBox*>(child);
    QMenu* menu = SystemMenu::Of(this);
    if (event->reason() != QContextMenuEvent::Mouse || !background || !menu) {
        event->ignore();
        return;
    }
    SystemMenu::Open(*menu, event->globalPos());
}

std::unique_ptr<QPainter> DialogWindow::BeginPaint() {
    if (!m_pPaintEvent)
        return nullptr;
    return std::make_unique<QPainter>(this);
}

LRESULT DialogWindow::DefaultProcessing(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SYSCOMMAND:
        return SysCommand(static_cast<UINT>(wParam));
    case WM_SETICON:
        return reinterpret_cast<LRESULT>(SetIcon(wParam, reinterpret_cast<HICON>(lParam)));
    case WM_PAINT:
        if (m_pPaintEvent)
            QDialog::paintEvent(m_pPaintEvent);
        return 0;
    case WM_ICONERASEBKGND:
        if (auto* dc = reinterpret_cast<HDC>(wParam); dc && dc->GetPainter())
            dc->GetPainter()->fillRect(rect(), palette().window());
        return 1;
    default:
        return 0;
    }
}

LRESULT DialogWindow::SysCommand(UINT nID) {
    // The low four bits are the platform's own; the command is in the others.
    switch (nID & 0xFFF0u) {
    case SC_KEYMENU:
        if (QMenu* menu = SystemMenu::Of(this))
            SystemMenu::Open(*menu, mapToGlobal(QPoint(0, 0)));
        return 0;
    case SC_MINIMIZE:
        showMinimized();
        return 0;
    case SC_RESTORE:
        showNormal();
        return 0;
    case SC_CLOSE:
        m_owner.SendMessage(WM_CLOSE);
        return 0;
    default:
        return 0;
    }
}

HICON DialogWindow::SetIcon(WPARAM which, HICON hIcon) {
    HICON& slot = which == ICON_BIG ? m_hBigIcon : m_hSmallIcon;
    const HICON previous = slot;
    slot = hIcon;
    // Qt gives a window one icon with images of several sizes; the window system takes
    // the size it needs from it.
    QIcon icon;
    const auto addImages = [&icon](HICON source) {
        if (!source)
            return;
        for (const QSize& size : source->icon.availableSizes())
            icon.addPixmap(source->icon.pixmap(size));
    };
    addImages(m_hBigIcon);
    if (m_hSmallIcon != m_hBigIcon)
        addImages(m_hSmallIcon);
    setWindowIcon(icon);
    return previous;
}
