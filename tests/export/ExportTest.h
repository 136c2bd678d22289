#pragma once

#include "platform/shell/AfxFileBrowser.h"
#include "platform/shell/RecordingFileBrowser.h"
#include "res/resource.h"
#include "ui/CMurmeloDlg.h"

#include "tests/support/DialogDriver.h"
#include "tests/support/FakeSpeechRuntime.h"
#include "tests/support/FileBytes.h"
#include "tests/support/ScriptedPrompts.h"

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

// A speech runtime, scripted prompts and a recording file manager for a dialog test.
class ExportTest : public testing::Test {
  protected:
    ExportTest() : m_previousBrowser(AfxSetFileBrowser(&browser)) {}
    ~ExportTest() override { AfxSetFileBrowser(m_previousBrowser); }

    // Starts the dialog with settings (lines that come before, and so override, text mode
    // with "Hi" once at rate 0 and volume 100 with the first voice), runs steps (pressing
    // ToWav unless told otherwise) and closes the dialog. The converter is waited for as
    // long as timeout says.
    void Press(const std::string& settings = "",
               const std::function<void(CMurmeloDlg&, DialogDriver&)>& steps = {},
               DWORD timeout = 60000) {
        WriteFile("set.ini",
                  "[Setting]\n" + settings +
                      "InputFileChk=0\nInputText=Hi\nRate=0\nVolume=100\nVoice=0\nLoop=1\n");
        struct ExportDlg : CMurmeloDlg {
            explicit ExportDlg(DWORD timeout) { m_dwConverterTimeout = timeout; }
        } dlg(timeout);
        DialogDriver::RunModal(dlg, [&](DialogDriver& driver) {
            steps ? steps(dlg, driver) : driver.Click(IDC_TO_WAV);
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
