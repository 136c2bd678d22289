#include "platform/ole/AfxOle.h"
#include "platform/ole/COleDispatchException.h"
#include "speech/CSpeechObjectToken.h"
#include "speech/CSpeechObjectTokens.h"
#include "speech/CSpeechVoice.h"
#include "speech/SpeechFlags.h"
#include "tests/support/FakeSpeechRuntime.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The three wrappers with a created voice, declared in the dialog's order.
struct Binding {
    Binding() {
        CLSID clsid;
        EXPECT_EQ(CLSIDFromProgID(u"SAPI.SpVoice", &clsid), S_OK);
        EXPECT_TRUE(voice.CreateDispatch(clsid));
    }
    // The dialog releases them in the opposite order.
    ~Binding() {
        token.ReleaseDispatch();
        tokens.ReleaseDispatch();
        voice.ReleaseDispatch();
    }

    void SelectVoice(LONG index) {
        CSpeechObjectToken chosen(tokens.Item(index));
        voice.SetRefVoice(chosen.m_lpDispatch);
    }

    CSpeechVoice voice;
    CSpeechObjectTokens tokens;
    CSpeechObjectToken token;
};

TEST(VoiceListing, ListingAndSelectingLeavesOneReferenceEachAndNoneAfterRelease) {
    FakeSpeechRuntime runtime({"Voice A", "Voice B", "Voice C"});
    {
        Binding binding;
        binding.tokens = COleDispatchDriver(binding.voice.GetVoices(nullptr, nullptr));
        EXPECT_EQ(runtime.References("Tokens"), 1u);

        std::vector<std::string> listed;
        for (LONG i = 0; i < binding.tokens.GetCount(); ++i) {
            binding.token = CSpeechObjectToken(binding.tokens.Item(i));
            listed.push_back(binding.token.GetDescription(0).str());
        }
        EXPECT_EQ(listed, (std::vector<std::string>{"Voice A", "Voice B", "Voice C"}));
        // Only the last listed token is still held, by the scratch member.
        EXPECT_EQ(runtime.LiveObjects("Token 0"), 0);
        EXPECT_EQ(runtime.LiveObjects("Token 1"), 0);
        EXPECT_EQ(runtime.References("Token 2"), 1u);

        binding.SelectVoice(1);
        EXPECT_EQ(runtime.CurrentVoiceDescription(), "Voice B");
        // The voice keeps its own reference; the one fetched for it has been released.
        EXPECT_EQ(runtime.References("Token 1"), 1u);

        binding.SelectVoice(0);
        EXPECT_EQ(runtime.CurrentVoiceDescription(), "Voice A");
        EXPECT_EQ(runtime.LiveObjects("Token 1"), 0);
    }
    EXPECT_EQ(runtime.LiveObjects(), 0);
    EXPECT_EQ(runtime.ReferenceFaults(), 0);
}

TEST(VoiceListing, AFailingItemThrowsItsMessageAndKeepsTheMemberAsItWas) {
    FakeSpeechRuntime runtime({"Voice A", "Voice B"});
    runtime.FailCall("Tokens method 0(1)", "Stimme 2 ist beschädigt.");
    {
        Binding binding;
        binding.tokens = COleDispatchDriver(binding.voice.GetVoices(nullptr, nullptr));
        binding.token = CSpeechObjectToken(binding.tokens.Item(0));
        try {
            binding.token = CSpeechObjectToken(binding.tokens.Item(1));
            FAIL() << "Item(1) did not throw";
        } catch (const COleDispatchException& e) {
            EXPECT_EQ(e.m_strDescription, "Stimme 2 ist beschädigt.");
        }
        EXPECT_EQ(binding.token.GetDescription(0), "Voice A");
        EXPECT_THROW(binding.SelectVoice(2), COleDispatchException);
    }
    EXPECT_EQ(runtime.LiveObjects(), 0);
    EXPECT_EQ(runtime.ReferenceFaults(), 0);
}

TEST(VoiceListing, TheVoiceKeepsRateVolumeAndQueueAsTheCommandsLeaveThem) {
    FakeSpeechRuntime runtime({"Voice A"});
    Binding binding;
    EXPECT_EQ(binding.voice.GetRate(), 0);
    EXPECT_EQ(binding.voice.GetVolume(), 100);
    binding.voice.SetRate(binding.voice.GetRate() - 1);
    binding.voice.SetVolume(binding.voice.GetVolume() - 10);
    EXPECT_EQ(runtime.Rate(), -1);
    EXPECT_EQ(runtime.Volume(), 90);
    EXPECT_THROW(binding.voice.SetRate(11), COleDispatchException);
    EXPECT_THROW(binding.voice.SetVolume(-10), COleDispatchException);
    EXPECT_EQ(runtime.Rate(), -1);
    EXPECT_EQ(runtime.Volume(), 90);

    binding.voice.Speak("Apple", SVSFlagsAsync);
    binding.voice.Speak("苹果", SVSFlagsAsync);
    EXPECT_EQ(runtime.QueuedTexts(), (std::vector<std::string>{"Apple", "苹果"}));
    binding.voice.Speak("", SVSFPurgeBeforeSpeak);
    EXPECT_TRUE(runtime.QueuedTexts().empty());
    EXPECT_EQ(runtime.SpokenTexts(), (std::vector<std::string>{"Apple", "苹果"}));
    EXPECT_EQ(runtime.Utterances()[0], (FakeUtterance{"Apple", "Voice A", -1, 90, 1}));
    EXPECT_EQ(runtime.CallLog().back(), "Voice method 12(\"\", 2)");
}

} // namespace
