#include "tests/export/ExportTest.h"

#include "platform/process/Paths.h"

// The chosen path goes into the input-file edit whether that edit is enabled or not, and
// the mode stays as it is; a cancelled dialog keeps the path.
TEST_F(ExportTest, BrowsedPathLandsInTheEditWhetherEnabledOrNot) {
    for (const bool enabled : {true, false}) {
        if (!enabled)
            WriteFile("set.ini", "[Setting]\r\nInputFileChk=0\r\n");
        prompts.AnswerFileDialog("/texts/a story.txt");
        prompts.CancelFileDialog();
        Press({.inputFile = "old.txt"}, IDC_BROWSE, 0, [&](CMurmeloDlg& dlg, DialogDriver& driver) {
            EXPECT_EQ(driver.Text(IDC_INPUT_FILE), "/texts/a story.txt");
            EXPECT_EQ(dlg.m_editInputFile.IsWindowEnabled() != 0, enabled);
            EXPECT_FALSE(
                qobject_cast<QAbstractButton*>(driver.Control(IDC_INPUT_FILE_CHECK))->isChecked());
            driver.Click(IDC_BROWSE);
            EXPECT_EQ(driver.Text(IDC_INPUT_FILE), "/texts/a story.txt");
        });
    }
    ASSERT_EQ(prompts.FileDialogs().size(), 4u);
    const FileDialogRequest& request = prompts.FileDialogs().front();
    EXPECT_EQ(request.mode, FileDialogMode::Open);
    EXPECT_EQ(request.filters, (std::vector<FileFilter>{{"txt File", {"*.txt"}}}));
    EXPECT_EQ(request.initialDir, GetModuleFileNameA());
    EXPECT_TRUE(prompts.Boxes().empty());
}
