#include "platform/ole/AfxOle.h"
#include "platform/ole/COleDispatchException.h"
#include "speech/CSpeechObjectToken.h"
#include "speech/CSpeechObjectTokens.h"
#include "speech/CSpeechVoice.h"
#include "speech/SpeechFlags.h"

#include "tests/support/CaseName.h"
#include "tests/support/FakeSpeechRuntime.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// The three wrappers as the dialog holds them: the voice, its list, and a token of it.
struct Wrappers {
    CSpeechVoice voice;
    CSpeechObjectTokens tokens;
    CSpeechObjectToken token;
};

// The wrappers on the fake runtime, which records each call with its dispatch id, kind and
// typed arguments, refuses any call its table does not know, and counts references.
class SpeechWrappers : public testing::Test {
  protected:
    void SetUp() override {
        CLSID clsid;
        ASSERT_EQ(CLSIDFromProgID(u"SAPI.SpVoice", &clsid), S_OK);
        ASSERT_TRUE(w.voice.CreateDispatch(clsid));
        w.tokens = COleDispatchDriver(w.voice.GetVoices(nullptr, nullptr));
        w.token = CSpeechObjectToken(w.tokens.Item(1));
        runtime.ClearCalls();
    }
    // Released in the dialog's order, nothing is left and nothing was released twice.
    void TearDown() override {
        w.token.ReleaseDispatch();
        w.tokens.ReleaseDispatch();
        w.voice.ReleaseDispatch();
        EXPECT_EQ(runtime.LiveObjects(), 0);
        EXPECT_EQ(runtime.ReferenceFaults(), 0);
    }

    FakeSpeechRuntime runtime{{"Voice A", "苹果 (Mandarin)"}};
    Wrappers w;
};

struct Row {
    const char* name;
    std::function<void(Wrappers&)> call;
    std::vector<std::string> recorded;
};

void PrintTo(const Row& row, std::ostream* os) {
    *os << row.name;
}

class WrapperCall : public SpeechWrappers, public testing::WithParamInterface<Row> {};

TEST_P(WrapperCall, MakesTheMembersCallsWithTheirIdKindAndArguments) {
    GetParam().call(w);
    EXPECT_EQ(runtime.CallLog(), GetParam().recorded);
}

INSTANTIATE_TEST_SUITE_P(
    Calls, WrapperCall,
    testing::Values(
        Row{"SetRefVoice",
            [](Wrappers& w) { w.voice.SetRefVoice(w.token.m_lpDispatch); },
            {"Voice putref 2(Token 1)"}},
        Row{"Rate",
            [](Wrappers& w) {
                w.voice.SetRate(-3);
                EXPECT_EQ(w.voice.GetRate(), -3);
            },
            {"Voice put 5(-3)", "Voice get 5()"}},
        Row{"Volume",
            [](Wrappers& w) {
                w.voice.SetVolume(70);
                EXPECT_EQ(w.voice.GetVolume(), 70);
            },
            {"Voice put 6(70)", "Voice get 6()"}},
        Row{"SpeakAsync",
            [](Wrappers& w) { EXPECT_EQ(w.voice.Speak("Apple", SVSFlagsAsync), 1); },
            {"Voice method 12(\"Apple\", 1)"}},
        Row{"SpeakEmptyToPurge",
            [](Wrappers& w) { w.voice.Speak("", SVSFPurgeBeforeSpeak); },
            {"Voice method 12(\"\", 2)"}},
        Row{"SpeakNull",
            [](Wrappers& w) { w.voice.Speak(nullptr, SVSFlagsAsync); },
            {"Voice method 12(null, 1)"}},
        Row{"SpeakChinese",
            [](Wrappers& w) { w.voice.Speak("白日依山尽", SVSFlagsAsync); },
            {"Voice method 12(\"白日依山尽\", 1)"}},
        Row{"GetVoices",
            [](Wrappers& w) { w.voice.GetVoices(nullptr, nullptr)->Release(); },
            {"Voice method 17(null, null)"}},
        Row{"GetVoicesFiltered",
            [](Wrappers& w) { w.voice.GetVoices("Gender=Female", nullptr)->Release(); },
            {"Voice method 17(\"Gender=Female\", null)"}},
        Row{"GetCount", [](Wrappers& w) { EXPECT_EQ(w.tokens.GetCount(), 2); }, {"Tokens get 1()"}},
        Row{"Item", [](Wrappers& w) { w.tokens.Item(0)->Release(); }, {"Tokens method 0(0)"}},
        Row{"GetDescription",
            [](Wrappers& w) { EXPECT_EQ(w.token.GetDescription(0), "苹果 (Mandarin)"); },
            {"Token 1 method 4(0)"}}),
    CaseName());

TEST_F(SpeechWrappers, AFailingCallThrowsTheObjectsMessageAndKeepsTheMember) {
    runtime.FailCall("Tokens method 0(0)", "Die Stimme ist nicht verfügbar.");
    try {
        w.token = CSpeechObjectToken(w.tokens.Item(0));
        FAIL() << "Item(0) did not throw";
    } catch (const COleDispatchException& e) {
        EXPECT_EQ(e.m_strDescription, "Die Stimme ist nicht verfügbar.");
        EXPECT_EQ(e.m_scError, DISP_E_EXCEPTION);
    }
    EXPECT_EQ(w.token.GetDescription(0), "苹果 (Mandarin)");
}

} // namespace
