#include "res/resource.h"
#include "ui/CMurmeloDlg.h"

#include "tests/support/CaseName.h"
#include "tests/support/FakeSpeechRuntime.h"
#include "tests/support/RunAndEscape.h"
#include "tests/support/ScriptedPrompts.h"

#include <QComboBox>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

std::vector<std::string> ListedVoices(const DialogDriver& driver) {
    auto* combo = qobject_cast<QComboBox*>(driver.Control(IDC_VOICE));
    std::vector<std::string> items;
    for (int i = 0; combo && i < combo->count(); ++i)
        items.push_back(combo->itemText(i).toStdString());
    return items;
}

struct ListingCase {
    const char* name;
    std::vector<std::string> voices;
    int selection; // the voice that speaks
};

class VoiceListStart : public testing::TestWithParam<ListingCase> {};

TEST_P(VoiceListStart, ListsInCollectionOrderAndSpeaksWithTheSelectedVoice) {
    const ListingCase& c = GetParam();
    FakeSpeechRuntime runtime(c.voices);
    ScriptedPrompts prompts;
    {
        CMurmeloDlg dlg;
        RunAndEscape(dlg, [&](DialogDriver& driver) { EXPECT_EQ(ListedVoices(driver), c.voices); });
        EXPECT_EQ(runtime.CurrentVoiceIndex(), c.selection);
        EXPECT_EQ(runtime.Rate(), 0);
        EXPECT_EQ(runtime.Volume(), 100);
    }
    EXPECT_TRUE(prompts.Boxes().empty());
    EXPECT_EQ(runtime.LiveObjects(), 0);
    EXPECT_EQ(runtime.ReferenceFaults(), 0);
}

const char* const kKyoko = "ScanSoft Kyoko_Full_22kHz";

INSTANTIATE_TEST_SUITE_P(
    Cases, VoiceListStart,
    testing::Values(ListingCase{"none_preferred", {"Zeta", "Alpha", "Mu"}, 0},
                    ListingCase{"preferred_last_match_wins", {"A", kKyoko, "C", kKyoko, "E"}, 3},
                    ListingCase{"letter_case_differs",
                                {"A", "scansoft kyoko_full_22khz", "ScanSoft Kyoko"},
                                0}),
    CaseName());

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

TEST(VoiceList, WithNoVoiceInstalledNothingIsSelectedAndNothingIsLookedUp) {
    FakeSpeechRuntime runtime(std::vector<std::string>{});
    ScriptedPrompts prompts;
    CMurmeloDlg dlg;
    RunAndEscape(dlg, [&](DialogDriver& driver) {
        EXPECT_TRUE(ListedVoices(driver).empty());
        EXPECT_EQ(dlg.m_comboVoice.GetCurSel(), CB_ERR);
    });
    // No lookup of a voice that is not there, which would end in a message.
    EXPECT_TRUE(prompts.Boxes().empty());
}

struct MissingCase {
    const char* name;
    void (*breakRuntime)(FakeSpeechRuntime&);
    const char* notice;
};

class VoiceListWithoutSpeech : public testing::TestWithParam<MissingCase> {};

// Whatever stops speech at start-up, the user hears about it once and the dialog still
// comes up with its later start-up steps done.
TEST_P(VoiceListWithoutSpeech, ShowsOneNoticeAndStartsTheDialogAnyway) {
    const MissingCase& c = GetParam();
    FakeSpeechRuntime runtime({"Voice A", "Voice B"});
    c.breakRuntime(runtime);
    ScriptedPrompts prompts;
    {
        CMurmeloDlg dlg;
        RunAndEscape(dlg, [&](DialogDriver& driver) {
            EXPECT_EQ(driver.Text(IDC_VOICE_HINT), "Mary,\t\tMike,\t\tSam,\t\tChinese");
            EXPECT_EQ(dlg.m_comboVoice.GetCurSel(), CB_ERR);
        });
    }
    ASSERT_EQ(prompts.Boxes().size(), 1u);
    EXPECT_EQ(prompts.Boxes()[0].caption, "Info");
    EXPECT_EQ(prompts.Boxes()[0].text, c.notice);
    EXPECT_EQ(prompts.Boxes()[0].buttons, std::vector<int>{IDOK});
    EXPECT_EQ(runtime.LiveObjects(), 0);
    EXPECT_EQ(runtime.ReferenceFaults(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VoiceListWithoutSpeech,
    testing::Values(MissingCase{"runtime_missing", [](FakeSpeechRuntime& r) { r.Unregister(); },
                                "Speech is not available: no speech runtime is installed."},
                    MissingCase{
                        "creation_fails", [](FakeSpeechRuntime& r) { r.FailCreation(); },
                        "Speech is not available: the speech runtime could not create a voice."},
                    MissingCase{"listing_fails",
                                [](FakeSpeechRuntime& r) {
                                    r.FailCall(FakeSpeechRuntime::Kind::Voice, 17, "Unreadable.");
                                },
                                "Speech is not available: Unreadable."},
                    MissingCase{"a_voice_lookup_fails",
                                [](FakeSpeechRuntime& r) {
                                    r.FailCall(FakeSpeechRuntime::Kind::Tokens, 0, "Broken.");
                                },
                                "Speech is not available: Broken."}),
    CaseName());

} // namespace
