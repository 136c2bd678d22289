#include "DispatchTestCalls.h"

#include "platform/ole/ClassRegistry.h"
#include "runtime/speech/MemorySink.h"
#include "runtime/speech/SpVoice.h"
#include "runtime/speech/SpeechRuntime.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

// This test program links the registration object, as the dialog program does, so the
// voice class is registered before any test runs.
class SpeechRuntimeTest : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(ClassRegistry::Initialize()); }
    void TearDown() override { unsetenv("MURMELO_AUDIO"); }

    IDispatch* CreateVoice() {
        CLSID clsid;
        EXPECT_EQ(ClassRegistry::FindClass(u"SAPI.SpVoice", &clsid), S_OK);
        EXPECT_EQ(clsid, SpeechRuntime::kVoiceClsid);
        LPDISPATCH voice = nullptr;
        EXPECT_EQ(ClassRegistry::CreateInstance(clsid, &voice), S_OK);
        return voice;
    }
};

TEST_F(SpeechRuntimeTest, ALinkedProgramSpeaksToTheOutputTheEnvironmentChooses) {
    setenv("MURMELO_AUDIO", "wav:speech.wav", 1);
    IDispatch* voice = CreateVoice();
    ASSERT_TRUE(voice);
    EXPECT_EQ(Call(voice, SpVoice::kRate, DISPATCH_PROPERTYGET).value.lVal(), 0);
    EXPECT_EQ(Call(voice, SpVoice::kVolume, DISPATCH_PROPERTYGET).value.lVal(), 100);
    EXPECT_EQ(Call(voice, SpVoice::kSpeak, DISPATCH_METHOD, {Text(u"Hi."), 0}).hr, S_OK);
    voice->Release();
    // Well over a tenth of a second of sound after the 44-byte header.
    EXPECT_GT(std::filesystem::file_size("speech.wav"), 44u + 2 * 2205);
}

TEST_F(SpeechRuntimeTest, ExplicitRegistrationChoosesTheOutput) {
    auto sink = std::make_shared<MemorySink>(Pacing::None);
    SpeechRuntime::Register([sink] { return sink; });
    IDispatch* voice = CreateVoice();
    ASSERT_TRUE(voice);
    EXPECT_EQ(Call(voice, SpVoice::kSpeak, DISPATCH_METHOD, {Text(u"Hi."), 0}).hr, S_OK);
    voice->Release();
    EXPECT_GT(sink->SampleCount(), 0u);
    SpeechRuntime::Register();
}

} // namespace
