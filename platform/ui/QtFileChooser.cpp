#include "platform/ui/QtFileChooser.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QStringList>

#include <optional>

namespace {

QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

// Qt writes a filter as "wav File (*.wav)".
QString NameFilter(const FileFilter& filter) {
    QStringList patterns;
    for (const std::string& pattern : filter.patterns)
        patterns << FromUtf8(pattern);
    return FromUtf8(filter.label) + " (" + patterns.join(' ') + ")";
}

// The folder to start in. The caller may name a file rather than a folder (the running
// program, for instance); the dialog then starts in the folder that holds it.
QString StartFolder(const std::string& initialDir) {
    const QFileInfo info(FromUtf8(initialDir));
    return info.isDir() ? info.absoluteFilePath() : info.absolutePath();
}

bool ConfirmReplace(QWidget* owner, const QString& title, const QString& path) {
    const QString text =
        QFileInfo(path).fileName() + " already exists.\nDo you want to replace it?";
    return QMessageBox::warning(owner, title, text, QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::No) == QMessageBox::Yes;
}

// Qt's dialog reads double quotes in a typed name as marks around several names. Here the
// user always chooses one file, and on Linux its name may hold double quotes, so a typed
// name with quotes is taken as it stands.
class SingleFileDialog : public QFileDialog {
  public:
    using QFileDialog::QFileDialog;

    // The typed name with quotes that accepted the dialog, as a full path.
    std::optional<QString> quotedPath;

    void accept() override {
        quotedPath.reset();
        const auto* edit = findChild<QLineEdit*>("fileNameEdit");
        const QString typed = edit ? edit->text() : QString();
        if (!typed.contains('"')) {
            QFileDialog::accept();
            return;
        }
        QString path = directory().absoluteFilePath(typed);
        if (!defaultSuffix().isEmpty() && QFileInfo(path).suffix().isEmpty())
            path += "." + defaultSuffix();
        if (acceptMode() == AcceptSave && !testOption(DontConfirmOverwrite) &&
            QFileInfo::exists(path) && !ConfirmReplace(this, windowTitle(), path))
            return;
        quotedPath = path;
        QDialog::accept();
    }
};

void Configure(QFileDialog& dialog, const FileDialogRequest& request) {
    const bool save = request.mode == FileDialogMode::Save;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // A typed name of a file that does not exist is accepted in both modes; whoever opens
    // the file finds out.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, (request.flags & OFN_OVERWRITEPROMPT) == 0);
    dialog.setDefaultSuffix(FromUtf8(request.defaultExtension));
    QStringList filters;
    for (const FileFilter& filter : request.filters)
        filters << NameFilter(filter);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        dialog.selectNameFilter(filters.value(static_cast<qsizetype>(request.selectedFilter)));
    }
    if (!request.initialDir.empty())
        dialog.setDirectory(StartFolder(request.initialDir));
    if (!request.fileName.empty())
        dialog.selectFile(FromUtf8(request.fileName));
}

bool ConfirmCreate(QWidget* owner, const FileDialogRequest& request, const QString& path) {
    const QString text =
        QFileInfo(path).fileName() + "\nThis file does not exist.\nCreate the file?";
    return QMessageBox::question(owner, FromUtf8(request.title), text,
                                 QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

} // namespace

std::optional<std::string> RunQtFileChooser(QWidget* owner, const FileDialogRequest& request) {
    SingleFileDialog dialog(owner, FromUtf8(request.title));
    Configure(dialog, request);
    // A "no" to the create question returns the user to the dialog, as it was.
    while (dialog.exec() == QDialog::Accepted) {
        const QStringList chosen =
            dialog.quotedPath ? QStringList{*dialog.quotedPath} : dialog.selectedFiles();
        if (chosen.isEmpty())
            continue;
        const QString& path = chosen.front();
        if ((request.flags & OFN_CREATEPROMPT) && !QFileInfo::exists(path) &&
            !ConfirmCreate(owner, request, path))
            continue;
        return path.toStdString();
    }
    return std::nullopt;
}
