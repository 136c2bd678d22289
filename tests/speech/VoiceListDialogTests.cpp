#include "res/resource.h"
#include "ui/CMurmeloDlg.h"

#include "tests/support/FakeSpeechRuntime.h"
#include "tests/support/RunAndEscape.h"
#include "tests/support/ScriptedPrompts.h"

#include <QComboBox>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

const char* const kKyoko = "ScanSoft Kyoko_Full_22kHz";

// The voices are listed in the runtime's order; the last voice of the preferred name,
// matched to the letter, else the first, speaks. With none there is nothing to select and
// no lookup, which would only fail.
TEST(VoiceList, ListsInCollectionOrderAndSpeaksWithTheSelectedVoice) {
    const struct {
        std::vector<std::string> voices;
        int speaking;
    } rows[] = {
        {{"Zeta", "Alpha", "Mu"}, 0},
        {{"A", kKyoko, "C", kKyoko, "E"}, 3},
        {{"A", "scansoft kyoko_full_22khz", "ScanSoft Kyoko"}, 0},
        {{}, 0},
    };
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
            });
            EXPECT_EQ(runtime.CurrentVoiceIndex(), row.speaking);
            EXPECT_EQ(runtime.Rate(), 0);
            EXPECT_EQ(runtime.Volume(), 100);
        }
        EXPECT_TRUE(prompts.Boxes().empty());
        EXPECT_EQ(runtime.LiveObjects(), 0);
        EXPECT_EQ(runtime.ReferenceFaults(), 0);
    }
}

TEST(VoiceList, ChoosingAnEntrySwitchesTheVoiceAtOnceAndWritesNoSettings) {
    FakeSpeechRuntime runtime({"Voice A", "Voice B", "Voice C"});
    CMurmeloDlg dlg;
    RunAndEscape(dlg, [&](DialogDriver& driver) {
        driver.ChooseItem(IDC_VOICE, 2);
        EXPECT_EQ(runtime.CurrentVoiceDescription(), "Voice C");
        driver.ChooseItem(IDC_VOICE, 1);
        EXPECT_EQ(runtime.CurrentVoiceDescription(), "Voice B");
    });
    EXPECT_FALSE(std::filesystem::exists("set.ini"));
}

// Whatever stops speech at start-up, the user hears about it once and the dialog still
// comes up with its later start-up steps done.
TEST(VoiceList, WithoutSpeechShowsOneNoticeAndStartsTheDialogAnyway) {
    const struct {
        void (*breakRuntime)(FakeSpeechRuntime&);
        const char* notice;
    } rows[] = {
        {[](FakeSpeechRuntime& r) { r.Unregister(); }, "no speech runtime is installed."},
        {[](FakeSpeechRuntime& r) { r.FailCreation(); },
         "the speech runtime could not create a voice."},
        {[](FakeSpeechRuntime& r) {
             r.FailCall(FakeSpeechRuntime::Kind::Voice, 17, "Unreadable.");
         },
         "Unreadable."},
        {[](FakeSpeechRuntime& r) { r.FailCall(FakeSpeechRuntime::Kind::Tokens, 0, "Broken."); },
         "Broken."},
    };
    for (const auto& row : rows) {
        FakeSpeechRuntime runtime({"Voice A", "Voice B"});
        row.breakRuntime(runtime);
        ScriptedPrompts prompts;
        {
            CMurmeloDlg dlg;
            RunAndEscape(dlg, [&](DialogDriver& driver) {
                EXPECT_EQ(driver.Text(IDC_VOICE_HINT), "Mary,\t\tMike,\t\tSam,\t\tChinese");
                EXPECT_EQ(dlg.m_comboVoice.GetCurSel(), CB_ERR);
            });
        }
        ASSERT_EQ(prompts.Boxes().size(), 1u) << row.notice;
        EXPECT_EQ(prompts.Boxes()[0].caption, "Info");
        EXPECT_EQ(prompts.Boxes()[0].text, std::string("Speech is not available: ") + row.notice);
        EXPECT_EQ(runtime.LiveObjects(), 0);
        EXPECT_EQ(runtime.ReferenceFaults(), 0);
    }
}

} // namespace
