// The dialog on the fake speech runtime: its voice list, its speaking commands, and the
// settings it loads and saves.
#include "res/resource.h"
#include "speech/SpeechFlags.h"
#include "ui/CMurmeloDlg.h"

#include "tests/support/FakeSpeechRuntime.h"
#include "tests/support/FileBytes.h"
#include "tests/support/RunAndEscape.h"
#include "tests/support/ScriptedPrompts.h"

#include <QAbstractButton>
#include <QComboBox>

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

namespace {

const char* const kPoem = "白日依山尽，黄河入海流，欲穷千里目，更上一层楼。";

// Starts the dialog with settings in text mode with one repetition, runs steps and presses
// Escape. Lines given come first and so override these, since the first of two equal keys
// counts.
void RunDialog(const std::string& first,
               const std::function<void(CMurmeloDlg&, DialogDriver&)>& steps) {
    WriteFile("set.ini",
              "[Setting]\n" + first +
                  "InputFileChk=0\nInputText=Stored\nRate=0\nVolume=100\nVoice=0\nLoop=1\n");
    CMurmeloDlg dlg;
    RunAndEscape(dlg, [&](DialogDriver& driver) { steps(dlg, driver); });
}

// A rejected count still reaches the speaking loop; it speaks nothing below one and never
// more than the largest count the box accepts.
TEST(SpeakingCommands, ReadQueuesTheTextOncePerLoopWithinZeroTo999AndStopPurgesIt) {
    for (const auto& [loop, spoken] : {std::pair{"3", 3}, {"-5", 0}, {"2000000000", 999}}) {
        FakeSpeechRuntime runtime({"Voice A"});
        ScriptedPrompts prompts;
        RunDialog("", [&](CMurmeloDlg&, DialogDriver& driver) {
            driver.SetText(IDC_TEXT, "Hi");
            driver.SetText(IDC_LOOP, loop);
            driver.Click(IDC_READ);
            EXPECT_EQ(runtime.QueuedTexts(), std::vector<std::string>(spoken, "Hi")) << loop;
            driver.Click(IDC_STOP);
        });
        EXPECT_TRUE(runtime.QueuedTexts().empty());
        for (const FakeSpeechRuntime::Utterance& utterance : runtime.Utterances())
            EXPECT_EQ(utterance.flags, SVSFlagsAsync);
    }
}

// The file is read for every repetition in which it may have changed, so a file changed
// between two Reads is spoken in its new form.
TEST(SpeakingCommands, ReadInFileModeSpeaksTheFileAsItStandsAtEachRead) {
    FakeSpeechRuntime runtime({"Voice A"});
    WriteFile("speech.txt", "first version");
    RunDialog("InputFileChk=1\nInputFileFile=speech.txt\nLoop=2\n",
              [&](CMurmeloDlg&, DialogDriver& driver) {
                  driver.Click(IDC_READ);
                  WriteFile("speech.txt", "second version");
                  driver.Click(IDC_READ);
              });
    EXPECT_EQ(runtime.QueuedTexts(),
              (std::vector<std::string>{"first version", "first version", "second version",
                                        "second version"}));
}

// The voice starts at rate 0 and volume 100 whatever the boxes show, and the steps stop at
// the ends of the ranges. The buttons only push: what was typed and not yet read is
// overwritten.
TEST(SpeakingCommands, StepButtonsStepFromTheVoicesOwnValueAndStopAtTheLimits) {
    const struct {
        std::vector<std::pair<int, int>> clicks; // button, how often
        LONG rate, volume;                       // of the voice afterwards
        const char *rateBox, *volumeBox;
    } rows[] = {{{{IDC_RATE_UP, 1}}, 1, 100, "1", "35"},
                {{{IDC_RATE_UP, 12}}, 10, 100, "10", "35"},
                {{{IDC_RATE_DOWN, 12}}, -10, 100, "-10", "35"},
                {{{IDC_VOLUME_UP, 1}}, 0, 100, "5", "35"},
                {{{IDC_VOLUME_DOWN, 11}}, 0, 0, "5", "0"},
                {{{IDC_VOLUME_DOWN, 10}, {IDC_VOLUME_UP, 3}}, 0, 30, "5", "30"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.rateBox + std::string(" ") + row.volumeBox);
        FakeSpeechRuntime runtime({"Voice A"});
        RunDialog("Rate=5\nVolume=35\n", [&](CMurmeloDlg&, DialogDriver& driver) {
            driver.SetText(IDC_TEXT, "typed but not read");
            for (const auto& [button, times] : row.clicks)
                for (int i = 0; i < times; ++i)
                    driver.Click(button);
            EXPECT_EQ(driver.Text(IDC_RATE), row.rateBox);
            EXPECT_EQ(driver.Text(IDC_VOLUME), row.volumeBox);
            EXPECT_EQ(driver.Text(IDC_TEXT), "Stored");
        });
        EXPECT_EQ(runtime.Rate(), row.rate);
        EXPECT_EQ(runtime.Volume(), row.volume);
    }
}

// The check box pulls first, so what was typed is kept.
TEST(SpeakingCommands, TheCheckBoxEnablesOneTextSourceAndFocusesIt) {
    FakeSpeechRuntime runtime({"Voice A"});
    RunDialog("", [&](CMurmeloDlg& dlg, DialogDriver& driver) {
        driver.SetText(IDC_TEXT, "typed");
        for (const int mode : {1, 0}) {
            driver.Click(IDC_INPUT_FILE_CHECK);
            EXPECT_EQ(dlg.m_bInputFile, mode);
            EXPECT_EQ(driver.Control(IDC_INPUT_FILE)->isEnabled(), mode == 1);
            EXPECT_EQ(driver.Control(IDC_TEXT)->isEnabled(), mode == 0);
            EXPECT_EQ(driver.FocusedId(), mode == 1 ? IDC_INPUT_FILE : IDC_TEXT);
            EXPECT_EQ(driver.Text(IDC_TEXT), "typed");
        }
    });
}

// "Speak English" only pushes, over what was typed since.
TEST(SpeakingCommands, QuickPhrasesSelectTheirVoiceFirstAndThenTheList) {
    FakeSpeechRuntime runtime({"V0", "V1", "V2", "V3", "V4", "V5", "V6"});
    RunDialog("Voice=3\n", [&](CMurmeloDlg& dlg, DialogDriver& driver) {
        driver.Click(IDC_CHINESE);
        EXPECT_EQ(dlg.m_comboVoice.GetCurSel(), 5);
        EXPECT_EQ(driver.Text(IDC_TEXT), kPoem);
        driver.SetText(IDC_TEXT, "typed but not read");
        driver.Click(IDC_SPEAK_ENGLISH);
        EXPECT_EQ(driver.Text(IDC_TEXT), kPoem);
        EXPECT_EQ(dlg.m_comboVoice.GetCurSel(), 0);
        driver.Click(IDC_SPEAK_CHINESE);
        driver.Click(IDC_ENGLISH);
        EXPECT_EQ(driver.Text(IDC_TEXT), "Fortune favors the brave.");
    });
    EXPECT_EQ(runtime.Utterances(), (std::vector<FakeSpeechRuntime::Utterance>{
                                        {"Apple", "V0", 0, 100, 1}, {"苹果", "V5", 0, 100, 1}}));
    EXPECT_EQ(runtime.CurrentVoiceDescription(), "V0");
}

// With five voices there is no position 5: the runtime refuses the lookup, the user sees
// its message, and the command stops before changing the list or speaking. "Chinese" has
// already put the poem into the member, though the box still shows the old text.
TEST(SpeakingCommands, AQuickPhraseBeyondTheVoicesStopsWhereTheLookupFails) {
    FakeSpeechRuntime runtime({"V0", "V1", "V2", "V3", "V4"});
    ScriptedPrompts prompts;
    RunDialog("Voice=2\n", [&](CMurmeloDlg& dlg, DialogDriver& driver) {
        driver.Click(IDC_CHINESE);
        EXPECT_EQ(dlg.m_strText, kPoem);
        EXPECT_EQ(driver.Text(IDC_TEXT), "Stored");
        driver.Click(IDC_SPEAK_CHINESE);
        EXPECT_EQ(dlg.m_comboVoice.GetCurSel(), 2);
    });
    EXPECT_TRUE(runtime.Utterances().empty());
    EXPECT_EQ(runtime.CurrentVoiceIndex(), 0);
    EXPECT_EQ(prompts.Boxes().size(), 2u);
}

const char* const kKyoko = "ScanSoft Kyoko_Full_22kHz";

// The voices are listed in the runtime's order; the last voice of the preferred name,
// matched to the letter, else the first, speaks. With none there is nothing to select and
// no lookup, which would only fail. Choosing an entry switches the voice at once and
// writes no settings.
TEST(VoiceList, ListsInCollectionOrderAndSpeaksWithTheSelectedVoice) {
    const struct {
        std::vector<std::string> voices;
        int speaking;
    } rows[] = {{{"Zeta", "Alpha", "Mu"}, 0},
                {{"A", kKyoko, "C", kKyoko, "E"}, 3},
                {{"A", "scansoft kyoko_full_22khz", "ScanSoft Kyoko"}, 0},
                {{}, 0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.voices.size());
        FakeSpeechRuntime runtime(row.voices);
        ScriptedPrompts prompts;
        {
            CMurmeloDlg dlg;
            RunAndEscape(dlg, [&](DialogDriver& driver) {
                auto* combo = qobject_cast<QComboBox*>(driver.Control(IDC_VOICE));
                std::vector<std::string> listed;
                for (int i = 0; i < combo->count(); ++i)
                    listed.push_back(combo->itemText(i).toStdString());
                EXPECT_EQ(listed, row.voices);
                EXPECT_EQ(runtime.CurrentVoiceIndex(), row.speaking);
                if (combo->count() > 2) {
                    driver.ChooseItem(IDC_VOICE, 2);
                    EXPECT_EQ(runtime.CurrentVoiceDescription(), row.voices[2]);
                }
            });
        }
        EXPECT_TRUE(prompts.Boxes().empty());
    }
    EXPECT_FALSE(std::filesystem::exists("set.ini"));
}

// Whatever stops speech at start-up, the user hears about it once and the dialog still
// comes up with its later start-up steps done.
TEST(VoiceList, WithoutSpeechShowsOneNoticeAndStartsTheDialogAnyway) {
    const std::pair<const char*, void (*)(FakeSpeechRuntime&)> rows[] = {
        {"no speech runtime is installed.", [](auto& runtime) { runtime.Unregister(); }},
        {"the speech runtime could not create a voice.",
         [](auto& runtime) { runtime.FailCreation(); }},
        {"Unreadable.", [](auto& runtime) { runtime.FailCall(17, "Unreadable."); }},
        {"Broken.", [](auto& runtime) { runtime.FailCall(5, "Broken."); }}};
    for (const auto& [notice, breakRuntime] : rows) {
        FakeSpeechRuntime runtime({"Voice A", "Voice B"});
        breakRuntime(runtime);
        ScriptedPrompts prompts;
        {
            CMurmeloDlg dlg;
            RunAndEscape(dlg, [&](DialogDriver& driver) {
                EXPECT_EQ(driver.Text(IDC_VOICE_HINT), "Mary,\t\tMike,\t\tSam,\t\tChinese");
                EXPECT_EQ(dlg.m_comboVoice.GetCurSel(), CB_ERR);
            });
        }
        ASSERT_EQ(prompts.Boxes().size(), 1u) << notice;
        EXPECT_EQ(prompts.Boxes()[0].caption, "Info");
        EXPECT_EQ(prompts.Boxes()[0].text, std::string("Speech is not available: ") + notice);
    }
}

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
         "[ ] text '" + std::string(259, 'a') + "' '' 10 10 10 10"}};
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
