#include "platform/ui/CFileDialog.h"
#include "platform/ui/QtModalPrompts.h"
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

// Runs then once a modal widget of type T is up, from the event loop that shows it.
template <class T>
void WhenModal(const std::function<void(T&)>& then) {
    auto* timer = new QTimer(QApplication::instance());
    QObject::connect(timer, &QTimer::timeout, [timer, then] {
        if (auto* widget = qobject_cast<T*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            then(*widget);
        }
    });
    timer->start(10);
}

} // namespace

// The filters as "label: patterns" between brackets, the selected one marked with a star,
// then the name the dialog starts with.
std::string Describe(const FileDialogRequest& request) {
    std::string text;
    for (std::size_t i = 0; i < request.filters.size(); ++i) {
        text += "[" + request.filters[i].label + ":";
        for (const std::string& pattern : request.filters[i].patterns)
            text += " " + pattern;
        text += i == request.selectedFilter ? "]* " : "] ";
    }
    return text + "'" + request.fileName + "'";
}

// A pattern as the file name selects the filter that has it, or becomes a filter of its
// own; any other file name is the name. A filter lists its patterns split at semicolons
// and ends at an empty pair.
TEST(FileDialog, RequestsDescribeTheFiltersTheSelectedOneAndTheName) {
    const struct {
        const char* fileName;
        const char* filter;
        const char* expected;
    } rows[] = {
        {"*.wav", "Text|*.txt|wav File|*.wav", "[Text: *.txt] [wav File: *.wav]* ''"},
        {"*.wav", "Text|*.txt;*.text|All|*.*||ignored|*",
         "[*.wav: *.wav]* [Text: *.txt *.text] [All: *.*] ''"},
        {"take.wav", "wav File|*.wav", "[wav File: *.wav]* 'take.wav'"},
    };
    for (const auto& row : rows) {
        ScriptedPrompts prompts;
        CFileDialog dialog(FALSE, nullptr, row.fileName, OFN_OVERWRITEPROMPT, row.filter);
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        ASSERT_EQ(prompts.FileDialogs().size(), 1u);
        EXPECT_EQ(Describe(prompts.FileDialogs().front()), row.expected);
        EXPECT_EQ(prompts.FileDialogs().front().title, "Save As");
    }
}

// The folder of a chosen file is where the next dialog of that kind opens, also after a new
// start; the other kind still opens where its caller asks.
TEST(FileDialog, OpensInTheFolderLastChosenInIt) {
    std::filesystem::create_directory("chosen");
    const std::string chosen = std::filesystem::absolute("chosen").string();
    const std::string program = std::filesystem::absolute("murmelo").string();
    auto initialDir = [&](BOOL bOpen, const std::optional<std::string>& answer) {
        ScriptedPrompts prompts;
        answer ? prompts.AnswerFileDialog(*answer) : prompts.CancelFileDialog();
        CFileDialog dialog(bOpen, nullptr, nullptr, 0, nullptr);
        dialog.m_ofn.lpstrInitialDir = program.c_str();
        dialog.DoModal();
        return prompts.FileDialogs().at(0).initialDir;
    };
    EXPECT_EQ(initialDir(FALSE, chosen + "/out.wav"), program);
    const auto newStart = RunInChild([&] {
        return (initialDir(FALSE, std::nullopt) == chosen ? 1 : 0) +
               (initialDir(TRUE, std::nullopt) == program ? 2 : 0);
    });
    EXPECT_EQ(newStart, 3);
}

// Qt's dialog: it starts in the folder of the file named as the initial directory, with the
// filter of the initial pattern, asks before creating a new file (a "no" returns to the
// dialog), adds no extension when none is asked for, and keeps the current directory.
TEST(QtFileDialog, AsksBeforeCreatingAndKeepsTheCurrentDirectory) {
    EnsureGuiApplication();
    const std::filesystem::path start = std::filesystem::current_path();
    std::filesystem::create_directory("program");
    std::ofstream("program/murmelo") << "";
    const std::string folder = std::filesystem::absolute("program").string();
    FileDialogRequest request;
    request.mode = FileDialogMode::Save;
    request.title = "Save As";
    request.filters = {{"wav File", {"*.wav"}}};
    request.initialDir = folder + "/murmelo";
    request.flags = OFN_OVERWRITEPROMPT | OFN_CREATEPROMPT;

    QString shownFolder;
    QString shownFilter;
    int createQuestions = 0;
    // The first time the user says no and is back in the dialog; then says yes.
    std::function<void(QMessageBox&)> answerCreate = [&](QMessageBox& box) {
        const bool yes = ++createQuestions == 2;
        box.button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
        if (!yes)
            WhenModal<QFileDialog>([&](QFileDialog& again) {
                WhenModal<QMessageBox>(answerCreate);
                static_cast<QDialog&>(again).accept();
            });
    };
    WhenModal<QFileDialog>([&](QFileDialog& dialog) {
        shownFolder = dialog.directory().absolutePath();
        shownFilter = dialog.selectedNameFilter();
        dialog.selectFile("take");
        WhenModal<QMessageBox>(answerCreate);
        static_cast<QDialog&>(dialog).accept();
    });

    QtModalPrompts prompts;
    const std::optional<std::string> chosen = prompts.FileDialog(nullptr, request);

    EXPECT_EQ(chosen, folder + "/take");
    EXPECT_EQ(createQuestions, 2);
    EXPECT_EQ(shownFolder.toStdString(), folder);
    EXPECT_EQ(shownFilter.toStdString(), "wav File (*.wav)");
    EXPECT_EQ(std::filesystem::current_path(), start);
}

// Qt would read the quotes as marks around several names; the name is one file's. A
// cancelled dialog gives no name at all.
TEST(QtFileDialog, TypedNameWithDoubleQuotesStaysOneNameAndCancelGivesNone) {
    EnsureGuiApplication();
    const std::string folder = std::filesystem::current_path().string();
    FileDialogRequest request;
    request.mode = FileDialogMode::Save;
    request.initialDir = folder;
    WhenModal<QFileDialog>([](QFileDialog& dialog) {
        dialog.findChild<QLineEdit*>("fileNameEdit")->setText("my \"best\" take.wav");
        static_cast<QDialog&>(dialog).accept();
    });
    QtModalPrompts prompts;
    EXPECT_EQ(prompts.FileDialog(nullptr, request), folder + "/my \"best\" take.wav");
    WhenModal<QFileDialog>([](QFileDialog& dialog) { static_cast<QDialog&>(dialog).reject(); });
    EXPECT_EQ(prompts.FileDialog(nullptr, request), std::nullopt);
}
