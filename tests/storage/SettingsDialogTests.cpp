#include "res/resource.h"
#include "ui/CMurmeloDlg.h"

#include "tests/support/CaseName.h"
#include "tests/support/FakeSpeechRuntime.h"
#include "tests/support/FileBytes.h"
#include "tests/support/RunAndEscape.h"
#include "tests/support/ScriptedPrompts.h"

#include <QAbstractButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace {

constexpr const char* kFile = "set.ini";

// The main dialog with its settings operations in reach of the tests.
class SettingsDlg : public CMurmeloDlg {
  public:
    using CMurmeloDlg::LoadSettings;
    using CMurmeloDlg::SaveSettings;
};

std::vector<std::string> Voices(int count) {
    std::vector<std::string> voices;
    for (int i = 1; i <= count; ++i)
        voices.push_back("Voice " + std::to_string(i));
    return voices;
}

// What the dialog shows right after start, written as "[x] text file 'text' 'input file'
// rate volume voice loop": the check box, the edits that are enabled, the texts, the
// numbers and the list position.
std::string ShownAfterStart(int voiceCount) {
    FakeSpeechRuntime runtime(Voices(voiceCount));
    ScriptedPrompts prompts;
    std::string shown;
    SettingsDlg dlg;
    RunAndEscape(dlg, [&](DialogDriver& driver) {
        auto* check = qobject_cast<QAbstractButton*>(driver.Control(IDC_INPUT_FILE_CHECK));
        shown = std::string(check->isChecked() ? "[x]" : "[ ]") +
                (driver.Control(IDC_TEXT)->isEnabled() ? " text" : "") +
                (driver.Control(IDC_INPUT_FILE)->isEnabled() ? " file" : "") + " '" +
                driver.Text(IDC_TEXT) + "' '" + driver.Text(IDC_INPUT_FILE) + "' " +
                driver.Text(IDC_RATE) + ' ' + driver.Text(IDC_VOLUME) + ' ' +
                std::to_string(dlg.m_comboVoice.GetCurSel()) + ' ' + driver.Text(IDC_LOOP);
        // Whatever loading focused, the framework's own focus on Read follows it.
        EXPECT_EQ(driver.FocusedId(), IDC_READ);
    });
    // The stored rate, volume and voice reach the dialog, never the voice itself.
    EXPECT_EQ(runtime.Rate(), 0);
    EXPECT_EQ(runtime.Volume(), 100);
    EXPECT_EQ(runtime.CurrentVoiceIndex(), 0);
    EXPECT_TRUE(prompts.Boxes().empty());
    return shown;
}

struct LoadCase {
    const char* name;
    std::string file; // empty: no settings file at all
    int voiceCount;
    std::string shown;
};

void PrintTo(const LoadCase& c, std::ostream* os) {
    *os << c.name;
}

// Input-file mode as loaded decides which edit is enabled; the push that follows shows 1
// and 2 as checked and any other value as unchecked.
const std::vector<LoadCase> kLoadCases = {
    {"NoFile", "", 3, "[ ] file '' '' 10 10 -1 10"},
    {"EverythingStored",
     "[Setting]\r\nInputFileChk=0\r\nInputFileFile=/tmp/a.txt\r\nInputText=hello\r\nRate=5\r\n"
     "Volume=70\r\nVoice=2\r\nLoop=3\r\n",
     3, "[ ] text 'hello' '/tmp/a.txt' 5 70 2 3"},
    {"InputFileModeOn", "[Setting]\r\nInputFileChk=1\r\nInputFileFile=book.txt\r\n", 3,
     "[x] file '' 'book.txt' 10 10 -1 10"},
    // The default voice position 10 selects the eleventh voice.
    {"OnlySomeKeys", "[Setting]\r\nRate=-3\r\nInputText=hi there\r\n", 12,
     "[ ] file 'hi there' '' -3 10 10 10"},
    {"NoSelectionStored", "[Setting]\r\nInputFileChk=0\r\nVoice=-1\r\n", 12,
     "[ ] text '' '' 10 10 -1 10"},
    {"QuotesDropped",
     "[Setting]\r\nInputFileChk=0\r\nInputText=\"quoted, text\"\r\nInputFileFile='/a b.txt'\r\n", 1,
     "[ ] text 'quoted, text' '/a b.txt' 10 10 -1 10"},
    {"LongTextCutAt259Bytes",
     "[Setting]\r\nInputFileChk=0\r\nInputText=" + std::string(300, 'a') + "\r\n", 1,
     "[ ] text '" + std::string(259, 'a') + "' '' 10 10 -1 10"},
    // A three-byte character at bytes 258 to 260 would not fit whole: it is left out.
    {"LongTextCutBeforeACharacter",
     "[Setting]\r\nInputFileChk=0\r\nInputText=" + std::string(257, 'a') +
         "\xE4\xBD\xA0\xE5\xA5\xBD\r\n",
     1, "[ ] text '" + std::string(257, 'a') + "' '' 10 10 -1 10"},
};

class SettingsLoad : public testing::TestWithParam<LoadCase> {};

TEST_P(SettingsLoad, ShowsTheStoredValuesOrTheDefaults) {
    const LoadCase& c = GetParam();
    if (!c.file.empty())
        WriteFile(kFile, c.file);
    EXPECT_EQ(ShownAfterStart(c.voiceCount), c.shown);
    // Loading never writes.
    EXPECT_EQ(std::filesystem::exists(kFile), !c.file.empty());
}

INSTANTIATE_TEST_SUITE_P(Files, SettingsLoad, testing::ValuesIn(kLoadCases), CaseName());

// The rule that loading applies also moves the focus to the enabled edit; after start the
// framework's own focus on Read replaces it, so it is seen here by loading again.
TEST(SettingsLoadFocus, GoesToTheEditOfTheMode) {
    FakeSpeechRuntime runtime(Voices(2));
    SettingsDlg dlg;
    RunAndEscape(dlg, [&](DialogDriver& driver) {
        dlg.LoadSettings();
        EXPECT_EQ(driver.FocusedId(), IDC_INPUT_FILE);
        WriteFile(kFile, "[Setting]\r\nInputFileChk=0\r\n");
        dlg.LoadSettings();
        EXPECT_EQ(driver.FocusedId(), IDC_TEXT);
    });
}

// Runs the dialog on the given voices, lets steps type, then saves as Read would.
void SaveAfter(int voiceCount, const std::function<void(DialogDriver&)>& steps) {
    FakeSpeechRuntime runtime(Voices(voiceCount));
    ScriptedPrompts prompts;
    SettingsDlg dlg;
    RunAndEscape(dlg, [&](DialogDriver& driver) {
        steps(driver);
        dlg.SaveSettings();
    });
}

TEST(SettingsSave, NewFileListsTheSevenKeysInOrderWithNoSelectionAsMinusOne) {
    SaveAfter(3, [](DialogDriver& driver) {
        driver.Click(IDC_INPUT_FILE_CHECK);
        driver.SetText(IDC_INPUT_FILE, "/home/me/book.txt");
        driver.SetText(IDC_TEXT, "Hello, world");
        driver.SetText(IDC_RATE, "-4");
        driver.SetText(IDC_LOOP, "999");
    });
    EXPECT_EQ(ReadFile(kFile), "[Setting]\r\nInputFileChk=1\r\nInputFileFile=/home/me/book.txt\r\n"
                               "InputText=Hello, world\r\nRate=-4\r\nVolume=10\r\nVoice=-1\r\n"
                               "Loop=999\r\n");
}

// What the user typed is written even when the dialog rejects it, and it is shown again.
TEST(SettingsSave, WritesRejectedEntriesAsTheyStand) {
    FakeSpeechRuntime runtime(Voices(1));
    ScriptedPrompts prompts;
    SettingsDlg dlg;
    RunAndEscape(dlg, [&](DialogDriver& driver) {
        driver.SetText(IDC_RATE, "11");
        driver.SetText(IDC_LOOP, "5");
        dlg.SaveSettings();
        EXPECT_EQ(driver.Text(IDC_RATE), "11");
        // The pull stopped at Rate, so the loop typed after it was neither read nor kept.
        EXPECT_EQ(driver.Text(IDC_LOOP), "10");
    });
    EXPECT_EQ(prompts.Boxes().size(), 1u);
    EXPECT_NE(ReadFile(kFile).find("\r\nRate=11\r\n"), std::string::npos);
    EXPECT_NE(ReadFile(kFile).find("\r\nLoop=10\r\n"), std::string::npos);
}

TEST(SettingsSave, KeepsTheRestOfAnExistingFileByteForByte) {
    WriteFile(kFile, "; my voice settings\n[Other]\nRate=99\n\n[setting]\nLoop = 4\n"
                     "Unknown=kept\n;Rate=1\nrate=2\n\n[Last]\nX=y");
    SaveAfter(3, [](DialogDriver& driver) {
        driver.SetText(IDC_RATE, "7");
        driver.SetText(IDC_LOOP, "3");
    });
    EXPECT_EQ(ReadFile(kFile),
              "; my voice settings\n[Other]\nRate=99\n\n[setting]\nLoop = 3\nUnknown=kept\n"
              ";Rate=1\nrate=7\nInputFileChk=0\r\nInputFileFile=\r\nInputText=\r\n"
              "Volume=10\r\nVoice=-1\r\n\n[Last]\nX=y");
}

struct InjectionCase {
    const char* name;
    int id;
    std::string typed;
    std::string shown; // after the next start
};

void PrintTo(const InjectionCase& c, std::ostream* os) {
    *os << c.name;
}

class SettingsInjection : public testing::TestWithParam<InjectionCase> {};

// A line break typed into a text must not become a line of the file of its own, which
// would be read back as another key.
TEST_P(SettingsInjection, StoresTheValueUpToItsFirstLineBreak) {
    const InjectionCase& c = GetParam();
    WriteFile(kFile, "[Setting]\r\nInputFileChk=0\r\nRate=-2\r\n");
    SaveAfter(1, [&](DialogDriver& driver) {
        driver.SetText(IDC_INPUT_FILE, "");
        driver.SetText(c.id, c.typed);
    });
    const std::string file = ReadFile(kFile);
    EXPECT_EQ(file.find("Rate=5"), std::string::npos) << file;
    EXPECT_EQ(file.find("\n[Setting]", 1), std::string::npos) << file;

    EXPECT_EQ(ShownAfterStart(1), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    Typed, SettingsInjection,
    testing::Values(
        InjectionCase{"TextLineFeed", IDC_TEXT, "hi\nRate=5", "[ ] text 'hi' '' -2 10 -1 10"},
        InjectionCase{"TextCrLf", IDC_TEXT, "hi\r\n[Setting]\r\nRate=5",
                      "[ ] text 'hi' '' -2 10 -1 10"},
        InjectionCase{"TextCarriageReturn", IDC_TEXT, "hi\rRate=5", "[ ] text 'hi' '' -2 10 -1 10"},
        InjectionCase{"PathLineFeed", IDC_INPUT_FILE, "a.txt\nRate=5",
                      "[ ] text '' 'a.txt' -2 10 -1 10"}),
    CaseName());

TEST(SettingsRoundTrip, WhatIsSavedComesBack) {
    SaveAfter(12, [](DialogDriver& driver) {
        driver.SetText(IDC_TEXT, "\"Quoted\" text");
        driver.SetText(IDC_INPUT_FILE, "/srv/\xE4\xBD\xA0.txt");
        driver.SetText(IDC_RATE, "-10");
        driver.SetText(IDC_VOLUME, "0");
        driver.ChooseItem(IDC_VOICE, 11);
        driver.SetText(IDC_LOOP, "1");
    });
    // Quotes inside the text stay; only a pair enclosing the whole value would be dropped.
    EXPECT_EQ(ShownAfterStart(12), "[ ] text '\"Quoted\" text' '/srv/\xE4\xBD\xA0.txt' -10 0 11 1");
}

} // namespace
