#include "runtime/speech/SpVoice.h"
#include "platform/ole/COleVariant.h"
#include "platform/ole/ClassRegistry.h"
#include "runtime/speech/MemorySink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

#include <unistd.h>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr WORD kMethod = DISPATCH_METHOD, kGet = DISPATCH_PROPERTYGET, kPut = DISPATCH_PROPERTYPUT;
constexpr LONG kAsync = SpVoice::SVSFlagsAsync, kPurge = SpVoice::SVSFPurgeBeforeSpeak;

constexpr const char16_t* kSentence = u"The quick brown fox jumps over the lazy dog.";

// One dispatch call made by a test: its result code, its value and its error's description.
struct CallResult {
    HRESULT hr = S_OK;
    COleVariant value;
    std::u16string error;
};

CallResult Call(IDispatch* object, DISPID dispId, WORD kind,
                const std::vector<COleVariant>& arguments = {}) {
    CallResult result;
    EXCEPINFO excepInfo;
    result.hr = object->Invoke(dispId, kind, arguments, &result.value, &excepInfo);
    result.error = excepInfo.bstrDescription;
    return result;
}

CallResult Speak(IDispatch* voice, const std::u16string& text, LONG flags) {
    return Call(voice, SpVoice::kSpeak, kMethod, {COleVariant::FromString(text), flags});
}

int Peak(const std::vector<std::int16_t>& samples) {
    int peak = 0;
    for (const std::int16_t sample : samples)
        peak = std::max(peak, std::abs(static_cast<int>(sample)));
    return peak;
}

std::string Narrow(const std::u16string& text) {
    return std::string(text.begin(), text.end());
}

// Releases a dispatch reference when the test lets go of it.
struct Releaser {
    void operator()(IDispatch* object) const { object->Release(); }
};
using Ref = std::unique_ptr<IDispatch, Releaser>;

std::u16string Description(const COleVariant& token) {
    return Call(token.pdispVal(), 4, kMethod, {0}).value.bstrVal();
}

class SpVoiceTest : public ::testing::Test {
  protected:
    Ref NewVoice(Pacing pacing) {
        sink = std::make_shared<MemorySink>(pacing);
        return Ref(SpVoice::Create([opened = sink] { return opened; }));
    }

    // The voice's tokens, each as the voice list gives it.
    std::vector<COleVariant> Tokens(IDispatch* voice) {
        const Ref list(Call(voice, SpVoice::kGetVoices, kMethod,
                            {COleVariant::NullString(), COleVariant::NullString()})
                           .value.DetachDispatch());
        std::vector<COleVariant> tokens;
        for (LONG i = 0; i < Call(list.get(), 1, kGet).value.lVal(); ++i)
            tokens.push_back(Call(list.get(), 0, kMethod, {i}).value);
        return tokens;
    }

    void Set(IDispatch* voice, DISPID property, LONG value) {
        ASSERT_EQ(Call(voice, property, kPut, {value}).hr, S_OK);
    }

    // A purge without a text: the last sound reaches the sink within 40 ms of it.
    void ExpectSilenceAfterPurge(IDispatch* voice) {
        const Clock::time_point purge = Clock::now();
        EXPECT_EQ(Speak(voice, u"", kPurge).hr, S_OK);
        std::this_thread::sleep_for(300ms);
        ASSERT_TRUE(sink->LastArrival());
        EXPECT_LT(*sink->LastArrival() - purge, 40ms);
    }

    double Seconds() const { return static_cast<double>(sink->SampleCount()) / 22050; }

    std::shared_ptr<MemorySink> sink;
};

// An asynchronous Speak returns at once, long before the seconds its texts last, which then
// play at a sound card's pace: its buffer runs only a tenth of a second ahead of the listener.
TEST_F(SpVoiceTest, AnAsynchronousSpeakReturnsAtOnceAndPlaysAtTheCardsPace) {
    Ref voice = NewVoice(Pacing::SoundCard);
    const Clock::time_point start = Clock::now();
    Speak(voice.get(), kSentence, kAsync);
    Speak(voice.get(), kSentence, kAsync);
    EXPECT_LT(Clock::now() - start, 500ms);
    std::this_thread::sleep_for(300ms);
    EXPECT_LT(Seconds(), 0.45);
}

// Rate and volume changed half way through the first of two queued texts: within 100 ms
// of sound the rest is half as loud and three times as fast, the queued text included.
// Volume 0 is silence.
TEST_F(SpVoiceTest, RateAndVolumeChangeWhatPlaysAndWhatIsQueued) {
    Ref voice = NewVoice(Pacing::None);
    Speak(voice.get(), kSentence, 0);
    const std::vector<std::int16_t> normal = sink->Samples();
    const int fullPeak = Peak(normal);
    ASSERT_GT(fullPeak, 5000);
    Set(voice.get(), SpVoice::kVolume, 0);
    sink->Clear();
    Speak(voice.get(), kSentence, 0);
    EXPECT_EQ(Peak(sink->Samples()), 0);
    EXPECT_GT(sink->SampleCount(), 0u);

    voice = NewVoice(Pacing::SoundCard);
    Speak(voice.get(), kSentence, kAsync);
    Speak(voice.get(), kSentence, kAsync);
    const Clock::time_point deadline = Clock::now() + 10s;
    while (sink->SampleCount() < normal.size() / 2 && Clock::now() < deadline)
        std::this_thread::sleep_for(5ms);
    Set(voice.get(), SpVoice::kVolume, 50);
    Set(voice.get(), SpVoice::kRate, 10);
    const std::size_t changed = sink->SampleCount();
    Speak(voice.get(), u"", 0);

    const std::vector<std::int16_t> samples = sink->Samples();
    const std::size_t heard = changed + 22050 / 10;
    ASSERT_LT(heard, samples.size());
    EXPECT_NEAR(static_cast<double>(
                    Peak({samples.begin() + static_cast<std::ptrdiff_t>(heard), samples.end()})) /
                    fullPeak,
                0.5, 0.1);
    // At the normal rate the rest would last as long as one and a half texts.
    EXPECT_LT(static_cast<double>(samples.size() - changed), 0.75 * normal.size());
}

// The repetitions of one long text share the caller's string: a queue of 300 of a 4 MB
// text stays within a few megabytes, where a copy each would take more than a gigabyte.
TEST_F(SpVoiceTest, ManyQueuedRepetitionsOfOneTextHoldItOnce) {
    Ref voice = NewVoice(Pacing::SoundCard);
    const auto resident = [] {
        long pages = 0;
        std::ifstream("/proc/self/statm") >> pages >> pages;
        return static_cast<double>(pages) * static_cast<double>(sysconf(_SC_PAGESIZE)) / 1e6;
    };
    std::u16string long_text;
    for (int i = 0; i < 50000; ++i)
        long_text += u"A sentence of forty characters it is. ";
    const COleVariant text = COleVariant::FromString(std::move(long_text));
    const double before = resident();
    for (int i = 0; i < 300; ++i)
        ASSERT_EQ(Call(voice.get(), SpVoice::kSpeak, kMethod, {text, kAsync}).hr, S_OK);
    std::this_thread::sleep_for(300ms);
    EXPECT_LT(resident() - before, 40.0);
    ExpectSilenceAfterPurge(voice.get());
}

// A purge silences at once and drops what was queued, also while Flite is in the middle of
// one long sentence (it waits on the full sound buffer then).
TEST_F(SpVoiceTest, PurgeSilencesAtOnceAndDropsWhatWasQueued) {
    std::u16string sentence = u"The keeper climbed the stairs";
    for (int clause = 0; clause < 12; ++clause)
        sentence += u", and then he trimmed the wick and polished the great lens again";
    sentence += u".";
    for (const char16_t* name : {u"", u"English (America, slt) (Flite)"}) {
        SCOPED_TRACE(Narrow(name));
        Ref voice = NewVoice(Pacing::SoundCard);
        for (const COleVariant& token : Tokens(voice.get())) {
            if (*name && Description(token) == name) {
                ASSERT_EQ(Call(voice.get(), SpVoice::kVoice, DISPATCH_PROPERTYPUTREF, {token}).hr,
                          S_OK);
            }
        }
        Speak(voice.get(), sentence, kAsync);
        Speak(voice.get(), sentence, kAsync);
        std::this_thread::sleep_for(500ms);
        ASSERT_GT(sink->SampleCount(), 0u);
        ExpectSilenceAfterPurge(voice.get());
    }
}

// Every voice can be chosen, reads back as the chosen one, and speaks audibly. Each of
// Flite's five speaks a sentence at its natural length: one resampled from the wrong rate
// would last half or twice as long.
TEST_F(SpVoiceTest, EveryListedVoiceSpeaksAudibly) {
    Ref voice = NewVoice(Pacing::None);
    int flite = 0;
    for (const COleVariant& token : Tokens(voice.get())) {
        const std::u16string name = Description(token);
        SCOPED_TRACE(Narrow(name));
        EXPECT_FALSE(name.empty() || name.find(u'_') != std::u16string::npos);
        ASSERT_EQ(Call(voice.get(), SpVoice::kVoice, DISPATCH_PROPERTYPUTREF, {token}).hr, S_OK);
        EXPECT_EQ(Description(Call(voice.get(), SpVoice::kVoice, kGet).value), name);
        const bool isFlite = name.starts_with(u"English (America, ") && name.ends_with(u"(Flite)");
        sink->Clear();
        Speak(voice.get(), isFlite ? kSentence : u"hello", 0);
        EXPECT_GT(Peak(sink->Samples()), 2000);
        flite += isFlite;
        EXPECT_TRUE(!isFlite || (Seconds() > 2.0 && Seconds() < 4.5)) << Seconds();
    }
    EXPECT_EQ(flite, 5);
}

// A sound output that has gone away, as when the sound server restarts.
class FailedSink final : public AudioSink {
  public:
    bool Write(std::span<const std::int16_t>) override { return false; }
    void Drain() override {}
    void Flush() override {}
    bool PlaysAtSoundCardPace() const override { return false; }
};

// An output that fails under the speech, as when the sound server restarts, is opened
// anew and the same utterance heard there. When it cannot be opened again for a while,
// the outage is reported once (silencing needs no output and never fails), and later
// speech is heard again. The outputs are handed out one per opening, in order.
TEST(SpVoiceDeviceTest, SpeechIsHeardAgainOnceTheFailedOutputComesBack) {
    auto sink = std::make_shared<MemorySink>(Pacing::None);
    std::vector<std::shared_ptr<AudioSink>> opened = {sink, std::make_shared<FailedSink>()};
    const auto open = [&opened] {
        std::shared_ptr<AudioSink> next = opened.back();
        opened.pop_back();
        return next;
    };
    Ref voice(SpVoice::Create(open));
    EXPECT_EQ(Speak(voice.get(), u"Hello.", 0).hr, S_OK);
    EXPECT_GT(Peak(sink->Samples()), 1000);

    sink = std::make_shared<MemorySink>(Pacing::None);
    opened = {sink, nullptr, nullptr, nullptr, std::make_shared<FailedSink>()};
    voice.reset(SpVoice::Create(open));
    const CallResult failed = Speak(voice.get(), u"Hello.", 0);
    EXPECT_EQ(failed.hr, DISP_E_EXCEPTION);
    EXPECT_EQ(failed.error, u"No sound output device is available.");
    EXPECT_EQ(Speak(voice.get(), u"", kPurge).hr, S_OK);
    EXPECT_EQ(sink->SampleCount(), 0u);
    EXPECT_EQ(Speak(voice.get(), u"Hello.", 0).hr, S_OK);
    EXPECT_GT(Peak(sink->Samples()), 1000);
}

// This test program links the registration object, as the dialog program does, so the
// voice class is registered before any test runs, at rate 0 and volume 100, speaking to
// the output that MURMELO_AUDIO names.
TEST(SpeechRuntime, ALinkedProgramSpeaksToTheConfiguredOutput) {
    ASSERT_TRUE(ClassRegistry::Initialize());
    CLSID clsid;
    ASSERT_EQ(ClassRegistry::FindClass(u"SAPI.SpVoice", &clsid), S_OK);
    LPDISPATCH voice = nullptr;
    setenv("MURMELO_AUDIO", "wav:speech.wav", 1);
    ASSERT_EQ(ClassRegistry::CreateInstance(clsid, &voice), S_OK);
    EXPECT_EQ(Call(voice, SpVoice::kRate, kGet).value.lVal(), 0);
    EXPECT_EQ(Call(voice, SpVoice::kVolume, kGet).value.lVal(), 100);
    EXPECT_EQ(Speak(voice, u"Hi.", 0).hr, S_OK);
    voice->Release();
    unsetenv("MURMELO_AUDIO");
    // Well over a tenth of a second of sound after the 44-byte header.
    EXPECT_GT(std::filesystem::file_size("speech.wav"), 44u + 2 * 2205);
}

} // namespace
