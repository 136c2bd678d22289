#include "tests/export/ExportTestSupport.h"

#include "platform/process/Paths.h"

#include "tests/support/DialogDriver.h"

#include <QAbstractButton>

namespace {

struct BrowseResult {
    std::string inputFile;
    bool editEnabled;
    bool checked;
};

} // namespace

TEST_F(ExportTest, BrowsedPathLandsInTheEditWhetherEnabledOrNot) {
    for (const BOOL enabled : {FALSE, TRUE}) {
        SCOPED_TRACE(enabled);
        prompts.AnswerFileDialog("/texts/a story.txt");
        ExportDlg dlg;
        BrowseResult result;
        DialogDriver::RunModal(dlg, [&](DialogDriver& driver) {
            Fill(dlg, driver, {.inputFile = "old.txt"});
            dlg.m_editInputFile.EnableWindow(enabled);
            driver.Click(IDC_BROWSE);
            result = {
                driver.Text(IDC_INPUT_FILE), dlg.m_editInputFile.IsWindowEnabled() != 0,
                qobject_cast<QAbstractButton*>(driver.Control(IDC_INPUT_FILE_CHECK))->isChecked()};
            driver.Click(IDCANCEL);
        });
        EXPECT_EQ(result.inputFile, "/texts/a story.txt");
        EXPECT_EQ(result.editEnabled, enabled != FALSE);
        EXPECT_FALSE(result.checked);
    }
    ASSERT_EQ(prompts.FileDialogs().size(), 2u);
    const FileDialogRequest& request = prompts.FileDialogs().front();
    EXPECT_EQ(request.mode, FileDialogMode::Open);
    EXPECT_EQ(request.defaultExtension, "txt");
    EXPECT_EQ(request.fileName, "");
    EXPECT_EQ(request.filters, (std::vector<FileFilter>{{"txt File", {"*.txt"}}}));
    EXPECT_EQ(request.flags, 4u);
    EXPECT_EQ(request.initialDir, GetModuleFileNameA());
    EXPECT_TRUE(prompts.Boxes().empty());
}

TEST_F(ExportTest, CancelledBrowseKeepsTheInputFile) {
    prompts.CancelFileDialog();
    ExportDlg dlg;
    std::string inputFile;
    DialogDriver::RunModal(dlg, [&](DialogDriver& driver) {
        Fill(dlg, driver, {.inputFile = "old.txt"});
        driver.Click(IDC_BROWSE);
        inputFile = driver.Text(IDC_INPUT_FILE);
        driver.Click(IDCANCEL);
    });
    EXPECT_EQ(inputFile, "old.txt");
    EXPECT_EQ(prompts.FileDialogs().size(), 1u);
}
