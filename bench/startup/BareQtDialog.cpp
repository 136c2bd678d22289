// The yardstick for start-up: a plain Qt program that shows a dialog with the same controls
// at the same places as Murmelo's main dialog, without our framework, and reports its first
// paint the same way.
#include "platform/ui/ResourceModule.h"
#include "platform/ui/WinUser.h"
#include "res/resource.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <chrono>
#include <cstdio>

namespace {

class BareDialog : public QDialog {
  protected:
    void paintEvent(QPaintEvent* event) override {
        QDialog::paintEvent(event);
        static bool reported = false;
        if (reported)
            return;
        reported = true;
        const auto now = std::chrono::steady_clock::now().time_since_epoch();
        std::printf("first-show %lld\n",
                    static_cast<long long>(
                        std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
        std::fflush(stdout);
    }
};

QWidget* Create(const DialogControl& control, QWidget* parent) {
    const QString caption = QString::fromUtf8(control.caption);
    switch (control.kind) {
    case ControlKind::PushButton:
        return new QPushButton(caption, parent);
    case ControlKind::CheckBox:
        return new QCheckBox(caption, parent);
    case ControlKind::GroupBox:
        return new QGroupBox(caption, parent);
    case ControlKind::Static:
        return new QLabel(caption, parent);
    case ControlKind::Icon:
        return new QLabel(parent);
    case ControlKind::ComboBox:
        return new QComboBox(parent);
    case ControlKind::Edit:
        if (control.style & ES_MULTILINE)
            return new QPlainTextEdit(parent);
        return new QLineEdit(parent);
    }
    return nullptr;
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    const DialogTemplate* dialogTemplate = nullptr;
    for (const DialogTemplate& candidate : AfxGetResourceModule().dialogs) {
        if (candidate.id == IDD_MURMELO_DIALOG)
            dialogTemplate = &candidate;
    }
    if (!dialogTemplate)
        return 1;
    BareDialog dialog;
    dialog.setFont(QFont(QStringLiteral("WenQuanYi Zen Hei"), dialogTemplate->pointSize));
    dialog.setWindowTitle(QString::fromUtf8(dialogTemplate->caption));
    // Six pixels by twelve per four by eight dialog units, as the real dialog gets them.
    dialog.setFixedSize(dialogTemplate->cx * 3 / 2, dialogTemplate->cy * 3 / 2);
    for (const DialogControl& control : dialogTemplate->controls) {
        QWidget* widget = Create(control, &dialog);
        widget->setGeometry(control.x * 3 / 2, control.y * 3 / 2, control.cx * 3 / 2,
                            control.cy * 3 / 2);
        widget->setVisible(control.state != ControlState::Hidden);
    }
    return dialog.exec();
}
