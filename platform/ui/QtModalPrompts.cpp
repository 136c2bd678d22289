#include "platform/ui/QtModalPrompts.h"

#include "platform/ui/CWnd.h"
#include "platform/ui/QtFileChooser.h"
#include "platform/ui/ReturnActivation.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <algorithm>

namespace {

QMessageBox::StandardButton StandardButton(int id) {
    switch (id) {
    case IDCANCEL:
        return QMessageBox::Cancel;
    case IDABORT:
        return QMessageBox::Abort;
    case IDRETRY:
        return QMessageBox::Retry;
    case IDIGNORE:
        return QMessageBox::Ignore;
    case IDYES:
        return QMessageBox::Yes;
    case IDNO:
        return QMessageBox::No;
    default:
        return QMessageBox::Ok;
    }
}

QMessageBox::Icon BoxIcon(UINT nType) {
    switch (nType & MB_ICONMASK) {
    case MB_ICONHAND:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

int QtModalPrompts::MessageBox(const CWnd* pOwner, const CString& text, const CString& caption,
                               UINT nType) {
    QWidget* owner = pOwner ? pOwner->GetWidget() : QApplication::activeWindow();
    const ReturnActivation returnActivation(owner);
    QMessageBox box(BoxIcon(nType), QString::fromStdString(caption.str()),
                    QString::fromStdString(text.str()), QMessageBox::NoButton, owner);
    const std::vector<int> buttons = MessageBoxButtons(nType);
    for (int id : buttons)
        box.addButton(StandardButton(id));
    box.setDefaultButton(StandardButton(buttons.front()));
    // Closing the box counts as its Cancel button where it has one, else as its only button.
    const bool hasCancel = std::find(buttons.begin(), buttons.end(), IDCANCEL) != buttons.end();
    box.setEscapeButton(StandardButton(hasCancel ? IDCANCEL : buttons.front()));
    box.exec();
    for (int id : buttons) {
        if (box.clickedButton() == box.button(StandardButton(id)))
            return id;
    }
    return hasCancel ? IDCANCEL : buttons.front();
}

std::optional<std::string> QtModalPrompts::FileDialog(const CWnd* pOwner,
                                                      const FileDialogRequest& request) {
    QWidget* owner = pOwner ? pOwner->GetWidget() : QApplication::activeWindow();
    const ReturnActivation returnActivation(owner);
    return RunQtFileChooser(owner, request);
}
