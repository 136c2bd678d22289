#include "res/resource.h"
#include "ui/CMurmeloDlg.h"

#include "tests/support/DialogDriver.h"
#include "tests/support/FakeSpeechRuntime.h"
#include "tests/support/ScriptedPrompts.h"

#include <QWidget>

#include <gtest/gtest.h>

#include <sys/inotify.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

const char* const kPoem = "白日依山尽，黄河入海流，欲穷千里目，更上一层楼。";

void WriteFile(const char* path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

std::string ReadFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Settings that start the dialog in text mode with one repetition, unless a test says
// otherwise.
void WriteSettings(const std::map<std::string, std::string>& changes = {}) {
    std::map<std::string, std::string> values = {{"InputFileChk", "0"}, {"InputText", "Stored"},
                                                 {"Rate", "0"},         {"Volume", "100"},
                                                 {"Voice", "0"},        {"Loop", "1"}};
    for (const auto& [key, value] : changes)
        values[key] = value;
    std::string content = "[Setting]\n";
    for (const auto& [key, value] : values)
        content += key + "=" + value + "\n";
    WriteFile("set.ini", content);
}

std::vector<std::string> Repeated(const std::string& text, int times) {
    return std::vector<std::string>(static_cast<size_t>(times), text);
}

// Counts how often a file is opened, so a test can tell a file read three times from one
// read once and spoken three times. Closes are watched too, because the kernel merges
// identical events that follow each other unread.
class OpenCounter {
  public:
    explicit OpenCounter(const char* path)
        : m_fd(inotify_init1(IN_NONBLOCK)),
          m_watch(inotify_add_watch(m_fd, path, IN_OPEN | IN_CLOSE)) {}
    ~OpenCounter() { close(m_fd); }

    int Opens() {
        int opens = 0;
        std::vector<char> buffer(4096);
        ssize_t length;
        while ((length = read(m_fd, buffer.data(), buffer.size())) > 0) {
            for (ssize_t at = 0; at < length;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + at);
                opens += (event->mask & IN_OPEN) ? 1 : 0;
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        return opens;
    }
    bool Watching() const { return m_watch >= 0; }

  private:
    int m_fd;
    int m_watch;
};

} // namespace

TEST(SpeakingCommands, ReadQueuesTheTypedTextOncePerLoop) {
    FakeSpeechRuntime runtime({"Voice A", "Voice B"});
    WriteSettings();
    CMurmeloDlg dlg;
    DialogDriver::RunModal(dlg, [&](DialogDriver& driver) {
        driver.SetText(IDC_TEXT, "Hello there");
        driver.SetText(IDC_LOOP, "3");
        driver.Click(IDC_READ);
        driver.PressKey(Qt::Key_Escape);
    });
    EXPECT_EQ(runtime.QueuedTexts(), Repeated("Hello there", 3));
    for (const FakeUtterance& utterance : runtime.Utterances())
        EXPECT_EQ(utterance.flags, 1);
}

TEST(SpeakingCommands, ReadInFileModeReadsTheFileAfreshForEveryLoop) {
    FakeSpeechRuntime runtime({"Voice A"});
    WriteFile("speech.txt", "first version");
    WriteSettings({{"InputFileChk", "1"}, {"InputFileFile", "speech.txt"}});
    OpenCounter opens("speech.txt");
    ASSERT_TRUE(opens.Watching());
    CMurmeloDlg dlg;
    DialogDriver::RunModal(dlg, [&](DialogDriver& driver) {
        driver.SetText(IDC_LOOP, "3");
        opens.Opens();
        driver.Click(IDC_READ);
        EXPECT_EQ(opens.Opens(), 3);
        WriteFile("speech.txt", "second version");
        driver.SetText(IDC_LOOP, "1");
        driver.Click(IDC_READ);
        driver.PressKey(Qt::Key_Escape);
    });
    std::vector<std::string> expected = Repeated("first version", 3);
    expected.push_back("second version");
    EXPECT_EQ(runtime.QueuedTexts(), expected);
}

namespace {

struct LoopCase {
    const char* name;
    const char* loop;
    int spoken;
};

class ReadLoopCount : public testing::TestWithParam<LoopCase> {};

} // namespace

// A rejected count still reaches the speaking loop; it speaks nothing below one and never
// more than the largest count the box accepts.
TEST_P(ReadLoopCount, RepeatsWithinOneToTheLargestAcceptedCount) {
    const LoopCase& c = GetParam();
    FakeSpeechRuntime runtime({"Voice A"});
    ScriptedPrompts prompts;
    WriteSettings();
    CMurmeloDlg dlg;
    DialogDriver::RunModal(dlg, [&](DialogDriver& driver) {
        driver.SetText(IDC_TEXT, "Hi");
        driver.SetText(IDC_LOOP, c.loop);
        driver.Click(IDC_READ);
        driver.PressKey(Qt::Key_Escape);
    });
    EXPECT_EQ(runtime.QueuedTexts().size(), static_cast<size_t>(c.spoken));
}

INSTANTIATE_TEST_SUITE_P(Cases, ReadLoopCount,
                         testing::Values(LoopCase{"one", "1", 1}, LoopCase{"largest", "999", 999},
                                         LoopCase{"zero", "0", 0}, LoopCase{"negative", "-5", 0},
                                         LoopCase{"above", "1000", 999},
                                         LoopCase{"huge", "2000000000", 999}),
                         [](const testing::TestParamInfo<LoopCase>& info) {
                             return info.param.name;
                         });

TEST(SpeakingCommands, ReadSavesTheSettingsBeforeSpeaking) {
    FakeSpeechRuntime runtime({"Voice A", "Voice B", "Voice C"});
    WriteSettings();
    CMurmeloDlg dlg;
    DialogDriver::RunModal(dlg, [&](DialogDriver& driver) {
        driver.SetText(IDC_TEXT, "Saved text");
        driver.SetText(IDC_RATE, "-3");
        driver.SetText(IDC_VOLUME, "40");
        driver.SetText(IDC_LOOP, "2");
        driver.ChooseItem(IDC_VOICE, 2);
        driver.Click(IDC_READ);
        driver.PressKey(Qt::Key_Escape);
    });
    const std::string saved = ReadFile("set.ini");
    for (const char* line :
         {"InputFileChk=0", "InputText=Saved text", "Rate=-3", "Volume=40", "Voice=2", "Loop=2"})
        EXPECT_NE(saved.find(line), std::string::npos) << line << " in\n" << saved;
    // The boxes' rate and volume are saved but never reach the voice.
    ASSERT_EQ(runtime.Utterances().size(), 2u);
    EXPECT_EQ(runtime.Utterances()[0], (FakeUtterance{"Saved text", "Voice C", 0, 100, 1}));
}

TEST(SpeakingCommands, StopPurgesEverythingQueued) {
    FakeSpeechRuntime runtime({"Voice A"});
    WriteSettings({{"Loop", "5"}});
    CMurmeloDlg dlg;
    DialogDriver::RunModal(dlg, [&](DialogDriver& driver) {
        driver.Click(IDC_READ);
        EXPECT_EQ(runtime.QueuedTexts().size(), 5u);
        driver.Click(IDC_STOP);
        driver.PressKey(Qt::Key_Escape);
    });
    EXPECT_TRUE(runtime.QueuedTexts().empty());
    EXPECT_EQ(runtime.CallLog().back(), "Voice method 12(\"\", 2)");
}

namespace {

struct StepCase {
    const char* name;
    int button;
    int clicks;
    LONG rate;
    LONG volume;
    const char* rateBox;
    const char* volumeBox;
};

class StepButtons : public testing::TestWithParam<StepCase> {};

} // namespace

// The voice starts at rate 0 and volume 100 whatever the boxes show, and the steps stop at
// the ends of the ranges.
TEST_P(StepButtons, StepFromTheVoicesOwnValueAndStopAtTheLimits) {
    const StepCase& c = GetParam();
    FakeSpeechRuntime runtime({"Voice A"});
    WriteSettings({{"Rate", "5"}, {"Volume", "35"}});
    CMurmeloDlg dlg;
    DialogDriver::RunModal(dlg, [&](DialogDriver& driver) {
        for (int i = 0; i < c.clicks; ++i)
            driver.Click(c.button);
        EXPECT_EQ(driver.Text(IDC_RATE), c.rateBox);
        EXPECT_EQ(driver.Text(IDC_VOLUME), c.volumeBox);
        driver.PressKey(Qt::Key_Escape);
    });
    EXPECT_EQ(runtime.Rate(), c.rate);
    EXPECT_EQ(runtime.Volume(), c.volume);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StepButtons,
    testing::Values(StepCase{"rate_up_once", IDC_RATE_UP, 1, 1, 100, "1", "35"},
                    StepCase{"rate_up_to_top", IDC_RATE_UP, 12, 10, 100, "10", "35"},
                    StepCase{"rate_down_to_bottom", IDC_RATE_DOWN, 12, -10, 100, "-10", "35"},
                    StepCase{"volume_up_at_top", IDC_VOLUME_UP, 1, 0, 100, "5", "35"},
                    StepCase{"volume_down_once", IDC_VOLUME_DOWN, 1, 0, 90, "5", "90"},
                    StepCase{"volume_down_to_zero", IDC_VOLUME_DOWN, 10, 0, 0, "5", "0"},
                    StepCase{"volume_down_past_zero", IDC_VOLUME_DOWN, 11, 0, 0, "5", "0"}),
    [](const testing::TestParamInfo<StepCase>& info) { return info.param.name; });

TEST(SpeakingCommands, VolumeClimbsBackInStepsOfTenAndStopsAtTheTop) {
    FakeSpeechRuntime runtime({"Voice A"});
    WriteSettings();
    CMurmeloDlg dlg;
    std::vector<std::string> shown;
    DialogDriver::RunModal(dlg, [&](DialogDriver& driver) {
        for (int i = 0; i < 10; ++i)
            driver.Click(IDC_VOLUME_DOWN);
        for (int i = 0; i < 11; ++i) {
            driver.Click(IDC_VOLUME_UP);
            shown.push_back(driver.Text(IDC_VOLUME));
        }
        driver.PressKey(Qt::Key_Escape);
    });
    EXPECT_EQ(shown, (std::vector<std::string>{"10", "20", "30", "40", "50", "60", "70", "80", "90",
                                               "100", "100"}));
    EXPECT_EQ(runtime.Volume(), 100);
}

// Buttons that only push put the last pulled text back over what was typed since.
TEST(SpeakingCommands, PushOnlyButtonsOverwriteTextNotYetPulled) {
    const std::vector<std::pair<int, const char*>> buttons = {
        {IDC_RATE_UP, "Stored"},       {IDC_RATE_DOWN, "Stored"},
        {IDC_VOLUME_UP, "Stored"},     {IDC_VOLUME_DOWN, "Stored"},
        {IDC_SPEAK_ENGLISH, "Stored"}, {IDC_ENGLISH, "Fortune favors the brave."}};
    for (const auto& [button, shown] : buttons) {
        FakeSpeechRuntime runtime({"Voice A"});
        WriteSettings();
        CMurmeloDlg dlg;
        DialogDriver::RunModal(dlg, [&](DialogDriver& driver) {
            driver.SetText(IDC_TEXT, "typed but not read");
            driver.SetText(IDC_LOOP, "7");
            driver.Click(button);
            EXPECT_EQ(driver.Text(IDC_TEXT), shown) << button;
            EXPECT_EQ(driver.Text(IDC_LOOP), "1") << button;
            driver.PressKey(Qt::Key_Escape);
        });
    }
}

TEST(SpeakingCommands, TheCheckBoxEnablesOneTextSourceAndFocusesIt) {
    FakeSpeechRuntime runtime({"Voice A"});
    WriteSettings();
    CMurmeloDlg dlg;
    DialogDriver::RunModal(dlg, [&](DialogDriver& driver) {
        driver.SetText(IDC_TEXT, "typed");
        driver.Click(IDC_INPUT_FILE_CHECK);
        EXPECT_EQ(dlg.m_bInputFile, 1);
        EXPECT_TRUE(driver.Control(IDC_INPUT_FILE)->isEnabled());
        EXPECT_FALSE(driver.Control(IDC_TEXT)->isEnabled());
        EXPECT_EQ(driver.FocusedId(), IDC_INPUT_FILE);
        // The check box pulls first, so what was typed is kept.
        EXPECT_EQ(driver.Text(IDC_TEXT), "typed");

        driver.Click(IDC_INPUT_FILE_CHECK);
        EXPECT_EQ(dlg.m_bInputFile, 0);
        EXPECT_FALSE(driver.Control(IDC_INPUT_FILE)->isEnabled());
        EXPECT_TRUE(driver.Control(IDC_TEXT)->isEnabled());
        EXPECT_EQ(driver.FocusedId(), IDC_TEXT);
        driver.PressKey(Qt::Key_Escape);
    });
}

TEST(SpeakingCommands, QuickPhrasesSelectTheirVoiceFirstAndThenTheList) {
    FakeSpeechRuntime runtime({"V0", "V1", "V2", "V3", "V4", "V5", "V6"});
    WriteSettings({{"Voice", "3"}});
    CMurmeloDlg dlg;
    DialogDriver::RunModal(dlg, [&](DialogDriver& driver) {
        driver.Click(IDC_CHINESE);
        EXPECT_EQ(dlg.m_comboVoice.GetCurSel(), 5);
        EXPECT_EQ(driver.Text(IDC_TEXT), kPoem);
        driver.Click(IDC_SPEAK_ENGLISH);
        EXPECT_EQ(dlg.m_comboVoice.GetCurSel(), 0);
        driver.Click(IDC_SPEAK_CHINESE);
        driver.Click(IDC_ENGLISH);
        EXPECT_EQ(driver.Text(IDC_TEXT), "Fortune favors the brave.");
        driver.PressKey(Qt::Key_Escape);
    });
    EXPECT_EQ(runtime.Utterances(),
              (std::vector<FakeUtterance>{{"Apple", "V0", 0, 100, 1}, {"苹果", "V5", 0, 100, 1}}));
    EXPECT_EQ(runtime.CurrentVoiceDescription(), "V0");
}

// With five voices there is no position 5: the runtime refuses the lookup, the user sees
// its message, and the command stops before changing the list or speaking. "Chinese" has
// already put the poem into the member, though the box still shows the old text.
TEST(SpeakingCommands, AQuickPhraseBeyondTheVoicesStopsWhereTheLookupFails) {
    FakeSpeechRuntime runtime({"V0", "V1", "V2", "V3", "V4"});
    ScriptedPrompts prompts;
    WriteSettings({{"Voice", "2"}});
    CMurmeloDlg dlg;
    DialogDriver::RunModal(dlg, [&](DialogDriver& driver) {
        driver.Click(IDC_CHINESE);
        EXPECT_EQ(dlg.m_strText, kPoem);
        EXPECT_EQ(driver.Text(IDC_TEXT), "Stored");
        EXPECT_EQ(dlg.m_comboVoice.GetCurSel(), 2);
        driver.Click(IDC_SPEAK_CHINESE);
        EXPECT_EQ(dlg.m_comboVoice.GetCurSel(), 2);
        driver.PressKey(Qt::Key_Escape);
    });
    EXPECT_TRUE(runtime.Utterances().empty());
    EXPECT_EQ(runtime.CurrentVoiceIndex(), 0);
    EXPECT_EQ(prompts.Boxes().size(), 2u);
    EXPECT_EQ(runtime.ReferenceFaults(), 0);
}
