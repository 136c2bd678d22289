#include "tests/export/ExportTestSupport.h"

#include "tests/support/DialogDriver.h"

#include <QAbstractButton>

#include <filesystem>

void ExportTest::Fill(ExportDlg& dlg, DialogDriver& driver, const DialogFields& fields) {
    driver.SetText(IDC_TEXT, fields.text);
    driver.SetText(IDC_LOOP, fields.loop);
    driver.SetText(IDC_RATE, fields.rate);
    driver.SetText(IDC_VOLUME, fields.volume);
    driver.SetText(IDC_INPUT_FILE, fields.inputFile);
    qobject_cast<QAbstractButton*>(driver.Control(IDC_INPUT_FILE_CHECK))
        ->setChecked(fields.inputFileMode);
    dlg.m_comboVoice.ResetContent();
    for (const char* voice : {"Voice A", "Voice B", "Voice C"})
        dlg.m_comboVoice.AddString(voice);
    dlg.m_comboVoice.SetCurSel(fields.voice);
}

void ExportTest::PressToWav(ExportDlg& dlg, const DialogFields& fields) {
    DialogDriver::RunModal(dlg, [&](DialogDriver& driver) {
        Fill(dlg, driver, fields);
        driver.Click(IDC_TO_WAV);
        driver.Click(IDCANCEL);
    });
}

std::vector<std::string> ExportTest::InfoNotices() const {
    std::vector<std::string> texts;
    for (const ScriptedPrompts::Box& box : prompts.Boxes()) {
        if (box.caption == "Info") {
            EXPECT_EQ(box.buttons, std::vector<int>{IDOK}) << box.text;
            texts.push_back(box.text);
        }
    }
    return texts;
}

std::string ExportTest::CurrentDir() {
    return std::filesystem::current_path().string();
}
