#pragma once

#include "platform/shell/AfxFileBrowser.h"
#include "platform/shell/RecordingFileBrowser.h"
#include "res/resource.h"
#include "ui/CMurmeloDlg.h"

#include "tests/support/DialogDriver.h"
#include "tests/support/FakeSpeechRuntime.h"
#include "tests/support/FileBytes.h"
#include "tests/support/ScriptedPrompts.h"

#include <QAbstractButton>

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>

// A converter for tests: a script written as towav.exe into the current directory. It keeps
// its process id in converter.pid and how it was called in converter-args.txt (the number of
// arguments, its own path, then each argument, one per line), and then runs body.
inline void InstallConverter(const std::string& body = "printf RIFF > \"$2\"") {
    WriteFile("towav.exe", "#!/bin/sh\necho $$ > converter.pid\n"
                           "printf '%s\\n' \"$#\" \"$0\" \"$@\" > converter-args.txt\n" +
                               body + "\n");
    std::filesystem::permissions("towav.exe", std::filesystem::perms::owner_all);
}

// What the converter's last run recorded: empty when it never ran.
inline std::vector<std::string> RecordedCall() {
    std::vector<std::string> lines;
    std::ifstream file("converter-args.txt");
    for (std::string line; std::getline(file, line);)
        lines.push_back(line);
    return lines;
}

inline void KillConverter() {
    pid_t pid = 0;
    if (std::ifstream("converter.pid") >> pid && pid > 0)
        kill(pid, SIGKILL);
}

// What a test types into the dialog before it presses a button.
struct DialogFields {
    std::string text = "Hi";
    std::string loop = "1";
    std::string rate = "0";
    std::string volume = "100";
    // The voice list holds three entries; -1 selects none.
    int voice = 0;
    bool inputFileMode = false;
    std::string inputFile;
};

// A speech runtime, scripted prompts and a recording file manager for a dialog test.
class ExportTest : public testing::Test {
  protected:
    ExportTest() : m_previousBrowser(AfxSetFileBrowser(&browser)) {}
    ~ExportTest() override { AfxSetFileBrowser(m_previousBrowser); }

    // Fills the dialog with fields, presses button, runs steps and closes the dialog. The
    // converter is waited for as long as timeout says.
    void Press(const DialogFields& fields, int button = IDC_TO_WAV, DWORD timeout = 60000,
               const std::function<void(CMurmeloDlg&, DialogDriver&)>& steps = {}) {
        struct ExportDlg : CMurmeloDlg {
            explicit ExportDlg(DWORD timeout) { m_dwConverterTimeout = timeout; }
        } dlg(timeout);
        DialogDriver::RunModal(dlg, [&](DialogDriver& driver) {
            for (const auto& [id, text] : {std::pair{IDC_TEXT, fields.text},
                                           {IDC_LOOP, fields.loop},
                                           {IDC_RATE, fields.rate},
                                           {IDC_VOLUME, fields.volume},
                                           {IDC_INPUT_FILE, fields.inputFile}})
                driver.SetText(id, text);
            qobject_cast<QAbstractButton*>(driver.Control(IDC_INPUT_FILE_CHECK))
                ->setChecked(fields.inputFileMode);
            dlg.m_comboVoice.SetCurSel(fields.voice);
            driver.Click(button);
            if (steps)
                steps(dlg, driver);
            driver.Click(IDCANCEL);
        });
    }

    // The texts of the notices captioned "Info", each of which has only an OK button.
    std::vector<std::string> InfoNotices() const {
        std::vector<std::string> texts;
        for (const ScriptedPrompts::Box& box : prompts.Boxes()) {
            if (box.caption == "Info") {
                EXPECT_EQ(box.buttons, std::vector<int>{IDOK}) << box.text;
                texts.push_back(box.text);
            }
        }
        return texts;
    }

    static std::string CurrentDir() { return std::filesystem::current_path().string(); }

    FakeSpeechRuntime runtime{{"Voice A", "Voice B", "Voice C"}};
    ScriptedPrompts prompts;
    RecordingFileBrowser browser;

  private:
    IFileBrowser* m_previousBrowser;
};
