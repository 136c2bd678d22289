#include "tests/export/ExportTest.h"

#include "platform/process/Paths.h"

#include <QAbstractButton>

// The chosen path goes into the input-file edit whether that edit is enabled or not, and
// the mode stays as it is; a cancelled dialog keeps the path.
TEST_F(ExportTest, BrowsedPathLandsInTheEditWhetherEnabledOrNot) {
    for (const char* mode : {"InputFileChk=1\n", ""}) {
        prompts.AnswerFileDialog("/texts/a story.txt");
        prompts.CancelFileDialog();
        Press(std::string(mode) + "InputFileFile=old.txt\n", [&](CMurmeloDlg& dlg,
                                                                 DialogDriver& driver) {
            driver.Click(IDC_BROWSE);
            EXPECT_EQ(driver.Text(IDC_INPUT_FILE), "/texts/a story.txt");
            EXPECT_EQ(dlg.m_editInputFile.IsWindowEnabled() != 0, *mode != '\0');
            EXPECT_EQ(
                qobject_cast<QAbstractButton*>(driver.Control(IDC_INPUT_FILE_CHECK))->isChecked(),
                *mode != '\0');
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
