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
// voice class is registered before any test runs, speaking to the output that
// MURMELO_AUDIO names; a registration of the program's own chooses another output.
TEST(SpeechRuntime, ALinkedProgramSpeaksToTheConfiguredOrTheRegisteredOutput) {
    ASSERT_TRUE(ClassRegistry::Initialize());
    const auto speakHi = [] {
        CLSID clsid;
        ASSERT_EQ(ClassRegistry::FindClass(u"SAPI.SpVoice", &clsid), S_OK);
        EXPECT_EQ(clsid, SpeechRuntime::kVoiceClsid);
        LPDISPATCH voice = nullptr;
        ASSERT_EQ(ClassRegistry::CreateInstance(clsid, &voice), S_OK);
        EXPECT_EQ(Call(voice, SpVoice::kRate, DISPATCH_PROPERTYGET).value.lVal(), 0);
        EXPECT_EQ(Call(voice, SpVoice::kVolume, DISPATCH_PROPERTYGET).value.lVal(), 100);
        EXPECT_EQ(Call(voice, SpVoice::kSpeak, DISPATCH_METHOD, {Text(u"Hi."), 0}).hr, S_OK);
        voice->Release();
    };
    setenv("MURMELO_AUDIO", "wav:speech.wav", 1);
    speakHi();
    unsetenv("MURMELO_AUDIO");
    // Well over a tenth of a second of sound after the 44-byte header.
    EXPECT_GT(std::filesystem::file_size("speech.wav"), 44u + 2 * 2205);

    auto sink = std::make_shared<MemorySink>(Pacing::None);
    SpeechRuntime::Register([sink] { return sink; });
    speakHi();
    SpeechRuntime::Register();
    EXPECT_GT(sink->SampleCount(), 0u);
}

} // namespace
