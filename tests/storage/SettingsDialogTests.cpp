#include "res/resource.h"
#include "ui/CMurmeloDlg.h"

#include "tests/support/FakeSpeechRuntime.h"
#include "tests/support/FileBytes.h"
#include "tests/support/RunAndEscape.h"
#include "tests/support/ScriptedPrompts.h"

#include <QAbstractButton>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace {

// Runs the dialog on twelve voices; steps may type and then call save. Returns what the
// dialog showed right after start, as "[x] text file 'text' 'input file' rate volume voice
// loop": the check box, the edits that are enabled, the texts, the numbers, the position.
std::string
StartDialog(const std::function<void(DialogDriver&, std::function<void()> save)>& steps = {}) {
    FakeSpeechRuntime runtime({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"});
    ScriptedPrompts prompts;
    struct : CMurmeloDlg {
        using CMurmeloDlg::SaveSettings;
    } dlg;
    std::string shown;
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
        if (steps)
            steps(driver, [&] { dlg.SaveSettings(); });
    });
    // The stored rate, volume and voice reach the dialog, never the voice itself.
    EXPECT_EQ(runtime.Rate(), 0);
    EXPECT_EQ(runtime.Volume(), 100);
    EXPECT_TRUE(steps || runtime.CurrentVoiceIndex() == 0);
    return shown;
}

// Every integer key the file lacks reads as 10, so a missing flag means input-file mode,
// and a string is cut to 259 bytes. Loading never writes.
TEST(SettingsLoad, ShowsTheStoredValuesOrTheDefaults) {
    const std::pair<std::string, std::string> rows[] = {
        {"InputFileChk=0\nInputFileFile=/tmp/a.txt\nInputText=hello\nRate=5\nVolume=70\nVoice=2\n"
         "Loop=3\n",
         "[ ] text 'hello' '/tmp/a.txt' 5 70 2 3"},
        {"InputFileChk=1\nInputFileFile=book.txt\n", "[x] file '' 'book.txt' 10 10 10 10"},
        {"InputFileChk=0\nInputText=" + std::string(300, 'a'),
         "[ ] text '" + std::string(259, 'a') + "' '' 10 10 10 10"},
    };
    for (const auto& [file, shown] : rows) {
        WriteFile("set.ini", "[Setting]\r\n" + file);
        EXPECT_EQ(StartDialog(), shown);
        EXPECT_EQ(ReadFile("set.ini"), "[Setting]\r\n" + file);
    }
    std::filesystem::remove("set.ini");
    EXPECT_EQ(StartDialog(), "[ ] file '' '' 10 10 10 10");
    EXPECT_FALSE(std::filesystem::exists("set.ini"));
}

// What the user typed is written even when the dialog rejects it, and shown again; the
// pull stops at the rejected rate, so the loop typed after it is neither read nor kept. A
// line break ends a value, so the rest cannot read back as a key of its own.
TEST(SettingsSave, WritesTheSevenKeysInOrderAsTheMembersStand) {
    StartDialog([](DialogDriver& driver, const std::function<void()>& save) {
        driver.Click(IDC_INPUT_FILE_CHECK);
        driver.SetText(IDC_INPUT_FILE, "/home/me/book.txt");
        driver.SetText(IDC_TEXT, "Hello, world\nRate=5");
        driver.SetText(IDC_RATE, "-4");
        driver.SetText(IDC_VOLUME, "0");
        driver.ChooseItem(IDC_VOICE, 11);
        driver.SetText(IDC_LOOP, "999");
        save();
    });
    EXPECT_EQ(ReadFile("set.ini"),
              "[Setting]\r\nInputFileChk=1\r\nInputFileFile=/home/me/book.txt\r\n"
              "InputText=Hello, world\r\nRate=-4\r\nVolume=0\r\nVoice=11\r\n"
              "Loop=999\r\n");
    EXPECT_EQ(StartDialog([](DialogDriver& driver, const std::function<void()>& save) {
                  driver.SetText(IDC_RATE, "11");
                  driver.SetText(IDC_LOOP, "5");
                  save();
                  EXPECT_EQ(driver.Text(IDC_RATE), "11");
                  EXPECT_EQ(driver.Text(IDC_LOOP), "999");
              }),
              "[x] file 'Hello, world' '/home/me/book.txt' -4 0 11 999");
    EXPECT_EQ(StartDialog(), "[x] file 'Hello, world' '/home/me/book.txt' 11 0 11 999");
}

} // namespace
