#pragma once

#include "platform/shell/AfxFileBrowser.h"
#include "platform/shell/RecordingFileBrowser.h"
#include "ui/CMurmeloDlg.h"

#include "tests/support/FakeSpeechRuntime.h"
#include "tests/support/ScriptedPrompts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

class DialogDriver;

// The main dialog with a converter time-out that a test chooses.
class ExportDlg : public CMurmeloDlg {
  public:
    explicit ExportDlg(DWORD dwConverterTimeout = 60000) {
        m_dwConverterTimeout = dwConverterTimeout;
    }
};

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

    // Fills the dialog with fields, presses ToWav, and closes the dialog.
    void PressToWav(ExportDlg& dlg, const DialogFields& fields);
    void PressToWav(const DialogFields& fields) {
        ExportDlg dlg;
        PressToWav(dlg, fields);
    }
    static void Fill(ExportDlg& dlg, DialogDriver& driver, const DialogFields& fields);

    // The texts of the notices captioned "Info".
    std::vector<std::string> InfoNotices() const;
    static std::string CurrentDir();

    FakeSpeechRuntime runtime{{"Voice A", "Voice B", "Voice C"}};
    ScriptedPrompts prompts;
    RecordingFileBrowser browser;

  private:
    IFileBrowser* m_previousBrowser;
};
