#include "platform/ui/CFileDialog.h"
#include "platform/ui/QtModalPrompts.h"
#include "platform/ui/ResourceModule.h"
#include "platform/ui/WinUser.h"

#include "tests/support/ChildProcess.h"
#include "tests/support/DialogDriver.h"
#include "tests/support/ScriptedPrompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace {

namespace fs = std::filesystem;

// Runs then once a modal widget of type T is up, from the event loop that shows it.
template <class T>
void WhenModal(const std::function<void(T&)>& then) {
    auto* timer = new QTimer(QApplication::instance());
    QObject::connect(timer, &QTimer::timeout, [timer, then] {
        if (auto* widget = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->deleteLater();
            timer->stop();
            then(*widget);
        }
    });
    timer->start(10);
}

// A pattern as the file name selects the filter that has it and leaves the name empty; the
// title is the platform's own.
TEST(FileDialog, APatternAsTheNameSelectsItsFilter) {
    ScriptedPrompts prompts;
    CFileDialog dialog(FALSE, nullptr, "*.wav", OFN_OVERWRITEPROMPT, "Text|*.txt|wav File|*.wav");
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    const FileDialogRequest& request = prompts.FileDialogs().at(0);
    EXPECT_EQ(request.filters,
              (std::vector<FileFilter>{{"Text", {"*.txt"}}, {"wav File", {"*.wav"}}}));
    EXPECT_EQ(request.selectedFilter, 1u);
    EXPECT_EQ(request.title + "|" + request.fileName, "Save As|");
}

// The folder of a chosen file is where the next dialog of that kind opens, also after a new
// start; the other kind still opens where its caller asks.
TEST(FileDialog, OpensInTheFolderLastChosenInIt) {
    fs::create_directory("chosen");
    const std::string chosen = fs::absolute("chosen").string();
    const std::string program = fs::absolute("murmelo").string();
    auto initialDir = [&](BOOL bOpen, const std::optional<std::string>& answer) {
        ScriptedPrompts prompts;
        answer ? prompts.AnswerFileDialog(*answer) : prompts.CancelFileDialog();
        CFileDialog dialog(bOpen, nullptr, nullptr, 0, nullptr);
        dialog.m_ofn.lpstrInitialDir = program.c_str();
        dialog.DoModal();
        return prompts.FileDialogs().at(0).initialDir;
    };
    EXPECT_EQ(initialDir(FALSE, chosen + "/out.wav"), program);
    EXPECT_EQ(RunInChild([&] {
                  return (initialDir(FALSE, std::nullopt) == chosen ? 1 : 0) +
                         (initialDir(TRUE, std::nullopt) == program ? 2 : 0);
              }),
              3);
}

// Qt's dialog: it starts in the folder of the file named as the initial directory, with the
// filter of the initial pattern, asks before creating a new file (a "no" returns to the
// dialog, then the user says yes), adds no extension when none is asked for, and keeps the
// current directory. Qt would read double quotes as marks around several names; the name is
// one file's. A cancelled dialog gives no name at all.
TEST(QtFileDialog, AsksBeforeCreatingKeepsQuotedNamesWholeAndTheCurrentDirectory) {
    EnsureGuiApplication();
    const fs::path start = fs::current_path();
    fs::create_directory("program");
    std::ofstream("program/murmelo") << "";
    const std::string folder = fs::absolute("program").string();
    FileDialogRequest request;
    request.mode = FileDialogMode::Save;
    request.filters = {{"wav File", {"*.wav"}}};
    request.initialDir = folder + "/murmelo";
    request.flags = OFN_OVERWRITEPROMPT | OFN_CREATEPROMPT;
    QString shown;
    int createQuestions = 0;
    std::function<void(QFileDialog&)> accept = [&](QFileDialog& dialog) {
        WhenModal<QMessageBox>([&](QMessageBox& box) {
            const bool yes = ++createQuestions == 2;
            box.button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
            if (!yes)
                WhenModal<QFileDialog>(accept);
        });
        static_cast<QDialog&>(dialog).accept();
    };
    WhenModal<QFileDialog>([&](QFileDialog& dialog) {
        shown = dialog.directory().absolutePath() + " " + dialog.selectedNameFilter();
        dialog.findChild<QLineEdit*>("fileNameEdit")->setText("my \"best\" take");
        accept(dialog);
    });
    QtModalPrompts prompts;
    EXPECT_EQ(prompts.FileDialog(nullptr, request), folder + "/my \"best\" take");
    EXPECT_EQ(createQuestions, 2);
    EXPECT_EQ(shown.toStdString(), folder + " wav File (*.wav)");
    EXPECT_EQ(fs::current_path(), start);
    WhenModal<QFileDialog>([](QFileDialog& dialog) { static_cast<QDialog&>(dialog).reject(); });
    EXPECT_EQ(prompts.FileDialog(nullptr, request), std::nullopt);
}

} // namespace

// The file dialogs use no resources of the program.
const ResourceModule& AfxGetResourceModule() {
    static const ResourceModule none{{}, {}};
    return none;
}
