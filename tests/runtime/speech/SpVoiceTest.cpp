#include "DispatchTestCalls.h"

#include "runtime/speech/MemorySink.h"
#include "runtime/speech/SpVoice.h"

#include "tests/support/CaseName.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <future>
#include <memory>
#include <thread>

#include <unistd.h>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr WORD kMethod = DISPATCH_METHOD;
constexpr WORD kGet = DISPATCH_PROPERTYGET;
constexpr WORD kPut = DISPATCH_PROPERTYPUT;
constexpr WORD kPutRef = DISPATCH_PROPERTYPUTREF;
constexpr LONG kAsync = SpVoice::SVSFlagsAsync;
constexpr LONG kPurge = SpVoice::SVSFPurgeBeforeSpeak;

constexpr const char16_t* kSentence = u"The quick brown fox jumps over the lazy dog.";
constexpr const char16_t* kLongText =
    u"This is a long text that keeps the voice busy for many seconds, so that there is "
    u"plenty of time to stop it in the middle. It goes on and on, sentence after sentence, "
    u"about nothing in particular, until somebody decides that enough has been said.";

int Peak(const std::vector<std::int16_t>& samples) {
    int peak = 0;
    for (const std::int16_t sample : samples)
        peak = std::max(peak, std::abs(static_cast<int>(sample)));
    return peak;
}

// Releases a dispatch reference when the test lets go of it.
struct Releaser {
    void operator()(IDispatch* object) const { object->Release(); }
};
using Ref = std::unique_ptr<IDispatch, Releaser>;

class SpVoiceTest : public ::testing::Test {
  protected:
    Ref NewVoice(Pacing pacing) {
        sink = std::make_shared<MemorySink>(pacing);
        std::shared_ptr<AudioSink> opened = sink;
        Ref voice(SpVoice::Create([opened] { return opened; }));
        EXPECT_TRUE(voice);
        return voice;
    }

    void Speak(IDispatch* voice, const char16_t* text, LONG flags) {
        const CallResult result = Call(voice, SpVoice::kSpeak, kMethod, {Text(text), flags});
        ASSERT_EQ(result.hr, S_OK) << std::string(result.error.begin(), result.error.end());
    }

    void Set(IDispatch* voice, DISPID property, LONG value) {
        ASSERT_EQ(Call(voice, property, kPut, {value}).hr, S_OK);
    }

    // A purge without a text: the last sound reaches the sink within 40 ms of it.
    void ExpectSilenceAfterPurge(IDispatch* voice) {
        const Clock::time_point purge = Clock::now();
        Speak(voice, u"", kPurge);
        std::this_thread::sleep_for(300ms);
        ASSERT_TRUE(sink->LastArrival());
        EXPECT_LT(*sink->LastArrival() - purge, 40ms);
    }

    double Seconds(std::size_t since = 0) const {
        return static_cast<double>(sink->SampleCount() - since) / 22050;
    }

    std::shared_ptr<MemorySink> sink;
};

// A sink that takes nothing until the test lets it, so the test can see what happened
// before the first sound.
class HeldSink final : public AudioSink {
  public:
    bool Write(std::span<const std::int16_t> samples) override {
        m_gate.wait();
        count += samples.size();
        return true;
    }
    void Drain() override {}
    void Flush() override {}
    bool PlaysAtSoundCardPace() const override { return false; }
    void Release() { m_open.set_value(); }

    std::atomic<std::size_t> count = 0;

  private:
    std::promise<void> m_open;
    std::shared_future<void> m_gate = m_open.get_future().share();
};

// An asynchronous Speak returns before any sound; a synchronous one once its sound has
// played, at a sound card's pace.
TEST_F(SpVoiceTest, OnlyASynchronousSpeakWaitsForTheSound) {
    auto held = std::make_shared<HeldSink>();
    Ref heldVoice(SpVoice::Create([held] { return held; }));
    Speak(heldVoice.get(), u"Hello.", kAsync);
    EXPECT_EQ(held->count, 0u);
    held->Release();

    Ref voice = NewVoice(Pacing::SoundCard);
    const Clock::time_point start = Clock::now();
    Speak(voice.get(), u"Hello there.", 0);
    const std::chrono::duration<double> elapsed = Clock::now() - start;
    EXPECT_GT(Seconds(), 0.3);
    EXPECT_GE(elapsed.count(), Seconds() * 0.98);
}

// Rate and volume changed half way through the first of two queued texts: within 100 ms
// of sound the rest is half as loud and three times as fast, the queued text included.
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
    EXPECT_EQ(Call(voice.get(), SpVoice::kVolume, kGet).value.lVal(), 50);
    EXPECT_EQ(Call(voice.get(), SpVoice::kRate, kGet).value.lVal(), 10);
    Speak(voice.get(), u"", 0);

    const std::vector<std::int16_t> samples = sink->Samples();
    const std::size_t heard = changed + 22050 / 10;
    ASSERT_LT(heard, samples.size());
    const auto tail = std::vector<std::int16_t>(
        samples.begin() + static_cast<std::ptrdiff_t>(heard), samples.end());
    EXPECT_NEAR(static_cast<double>(Peak(tail)) / fullPeak, 0.5, 0.1);
    // At the normal rate the rest would last as long as one and a half texts.
    const double rest = static_cast<double>(samples.size() - changed);
    EXPECT_LT(rest, 1.5 * static_cast<double>(normal.size()) / 2);
}

// The repetitions of one long text share the caller's string: a queue of 300 of a 4 MB
// text stays within a few megabytes, where a copy each would take more than a gigabyte.
TEST_F(SpVoiceTest, ManyQueuedRepetitionsOfOneTextHoldItOnce) {
    Ref voice = NewVoice(Pacing::SoundCard);
    const auto resident = [] {
        std::ifstream statm("/proc/self/statm");
        long pages = 0;
        statm >> pages >> pages;
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

TEST_F(SpVoiceTest, PurgeSilencesAtOnceAndDropsWhatWasQueued) {
    Ref voice = NewVoice(Pacing::SoundCard);
    Speak(voice.get(), kLongText, kAsync);
    Speak(voice.get(), kLongText, kAsync);
    std::this_thread::sleep_for(300ms);
    ASSERT_GT(sink->SampleCount(), 0u);

    ExpectSilenceAfterPurge(voice.get());

    // A purge with a text starts it right away; only it plays, not the rest of the long ones.
    Speak(voice.get(), kLongText, kAsync);
    std::this_thread::sleep_for(200ms);
    const std::size_t before = sink->SampleCount();
    Speak(voice.get(), u"Hello.", kPurge);
    EXPECT_GT(Seconds(before), 0.2);
    EXPECT_LT(Seconds(before), 1.5);
}

TEST_F(SpVoiceTest, EachRateIsFasterThanTheOneBelowAndTheEndsAreAThirdAndThreeTimes) {
    Ref voice = NewVoice(Pacing::None);
    std::vector<double> durations;
    for (LONG rate = -10; rate <= 10; ++rate) {
        Set(voice.get(), SpVoice::kRate, rate);
        sink->Clear();
        Speak(voice.get(), kSentence, 0);
        durations.push_back(static_cast<double>(sink->SampleCount()));
    }
    for (std::size_t i = 1; i < durations.size(); ++i)
        EXPECT_LT(durations[i], durations[i - 1]) << "rate " << static_cast<int>(i) - 10;
    EXPECT_NEAR(durations[0] / durations[10], 3.0, 0.45);
    EXPECT_NEAR(durations[10] / durations[20], 3.0, 0.45);
}

// Every voice can be chosen, reads back as the chosen one, and speaks a word audibly.
TEST_F(SpVoiceTest, EveryListedVoiceSpeaksAudibly) {
    Ref voice = NewVoice(Pacing::None);
    Ref tokens(Call(voice.get(), SpVoice::kGetVoices, kMethod,
                    {COleVariant::NullString(), COleVariant::NullString()})
                   .value.DetachDispatch());
    ASSERT_TRUE(tokens);
    const LONG count = Call(tokens.get(), 1, kGet).value.lVal();
    ASSERT_GT(count, 0);
    const auto description = [](const COleVariant& token) {
        return Call(token.pdispVal(), 4, kMethod, {0}).value.bstrVal();
    };
    for (LONG i = 0; i < count; ++i) {
        CallResult token = Call(tokens.get(), 0, kMethod, {i});
        ASSERT_EQ(token.hr, S_OK);
        const std::u16string name = description(token.value);
        SCOPED_TRACE(std::string(name.begin(), name.end()));
        EXPECT_FALSE(name.empty());
        EXPECT_EQ(name.find(u'_'), std::u16string::npos);
        ASSERT_EQ(Call(voice.get(), SpVoice::kVoice, kPutRef, {token.value}).hr, S_OK);
        EXPECT_EQ(description(Call(voice.get(), SpVoice::kVoice, kGet).value), name);
        sink->Clear();
        Speak(voice.get(), u"hello", 0);
        EXPECT_GT(Peak(sink->Samples()), 2000);
    }
}

// A voice with its list and first token, on a sink that takes sound at once.
class SpVoiceObjects : public ::testing::Test {
  protected:
    std::shared_ptr<MemorySink> sink = std::make_shared<MemorySink>(Pacing::None);
    Ref voice{SpVoice::Create([sink = sink] { return sink; })};
    Ref tokens{Call(voice.get(), SpVoice::kGetVoices, kMethod, {Text(u""), Text(u"")})
                   .value.DetachDispatch()};
    Ref token{Call(tokens.get(), 0, kMethod, {0}).value.DetachDispatch()};
};

struct RefusedCall {
    const char* name; // starts with the object called: Voice, List or Token
    DISPID dispId;
    WORD kind;
    std::vector<COleVariant> args;
    const char16_t* message; // how the message starts
};

void PrintTo(const RefusedCall& refused, std::ostream* os) {
    *os << refused.name;
}

class SpVoiceRefusalTest : public SpVoiceObjects,
                           public ::testing::WithParamInterface<RefusedCall> {};

TEST_P(SpVoiceRefusalTest, RaisesADispatchErrorWithAMessage) {
    const RefusedCall& refused = GetParam();
    const std::string_view name = refused.name;
    IDispatch* target = name.starts_with("List")    ? tokens.get()
                        : name.starts_with("Token") ? token.get()
                                                    : voice.get();
    EXCEPINFO excepInfo;
    COleVariant result;
    EXPECT_EQ(target->Invoke(refused.dispId, refused.kind, refused.args, &result, &excepInfo),
              DISP_E_EXCEPTION);
    EXPECT_TRUE(excepInfo.bstrDescription.starts_with(refused.message))
        << std::string(excepInfo.bstrDescription.begin(), excepInfo.bstrDescription.end());
}

const char16_t* const kRateRange = u"The speaking rate must be between -10 and 10.";
const char16_t* const kVolumeRange = u"The volume must be between 0 and 100.";

INSTANTIATE_TEST_SUITE_P(
    Calls, SpVoiceRefusalTest,
    ::testing::Values(
        RefusedCall{
            "VoiceUnknownId", 3, kMethod, {}, u"The voice has no member with dispatch id 3"},
        RefusedCall{"VoiceSpeakAsProperty",
                    SpVoice::kSpeak,
                    kGet,
                    {},
                    u"The voice has no member with dispatch id 12 and invoke kind 2."},
        RefusedCall{"VoiceRateTooHigh", SpVoice::kRate, kPut, {COleVariant(11)}, kRateRange},
        RefusedCall{"VoiceVolumeTooLow", SpVoice::kVolume, kPut, {COleVariant(-1)}, kVolumeRange},
        RefusedCall{"VoiceRateAsText", SpVoice::kRate, kPut, {Text(u"5")}, u"Rate takes a number."},
        RefusedCall{"VoiceSpeakWithoutFlags",
                    SpVoice::kSpeak,
                    kMethod,
                    {Text(u"Hi")},
                    u"Speak takes a text and a number of flags."},
        RefusedCall{"VoiceSetToNothing",
                    SpVoice::kVoice,
                    kPutRef,
                    {COleVariant(static_cast<IDispatch*>(nullptr))},
                    u"The voice can only be set to a token from this voice's list."},
        RefusedCall{"VoiceFilteredList",
                    SpVoice::kGetVoices,
                    kMethod,
                    {Text(u"Gender=Female"), Text(u"")},
                    u"Choosing voices by attributes is not supported"},
        RefusedCall{
            "ListIndexBelow", 0, kMethod, {COleVariant(-1)}, u"There is no voice number -1;"},
        RefusedCall{"TokenUnknownId",
                    5,
                    kMethod,
                    {COleVariant(0)},
                    u"The voice token has no member with dispatch id 5"}),
    CaseName());

TEST_F(SpVoiceObjects, AnIndexPastTheListSaysHowBigTheListIs) {
    const LONG count = Call(tokens.get(), 1, kGet).value.lVal();
    const CallResult past = Call(tokens.get(), 0, kMethod, {count});
    EXPECT_EQ(past.hr, DISP_E_EXCEPTION);
    EXPECT_EQ(std::string(past.error.begin(), past.error.end()),
              "There is no voice number " + std::to_string(count) + "; the voice list holds " +
                  std::to_string(count) + " voices, numbered from 0.");
}

// A sound output that has gone away, as when the sound server restarts.
class FailedSink final : public AudioSink {
  public:
    bool Write(std::span<const std::int16_t>) override { return false; }
    void Drain() override {}
    void Flush() override {}
    bool PlaysAtSoundCardPace() const override { return false; }
};

// The outputs a voice gets, one per opening, in this order.
Ref VoiceOpening(std::vector<std::shared_ptr<AudioSink>>& opened) {
    std::reverse(opened.begin(), opened.end());
    return Ref(SpVoice::Create([&opened] {
        std::shared_ptr<AudioSink> next = opened.back();
        opened.pop_back();
        return next;
    }));
}

// An output that fails under the speech, as when the sound server restarts, is opened
// anew and the same utterance heard there. When it cannot be opened again for a while,
// the outage is reported once (silencing needs no output and never fails), and later
// speech is heard again.
TEST(SpVoiceDeviceTest, SpeechIsHeardAgainOnceTheFailedOutputComesBack) {
    const auto hello = [](IDispatch* voice) {
        return Call(voice, SpVoice::kSpeak, kMethod, {Text(u"Hello."), 0});
    };
    auto restarted = std::make_shared<MemorySink>(Pacing::None);
    std::vector<std::shared_ptr<AudioSink>> restart = {std::make_shared<FailedSink>(), restarted};
    Ref voice = VoiceOpening(restart);
    EXPECT_EQ(hello(voice.get()).hr, S_OK);
    EXPECT_GT(Peak(restarted->Samples()), 1000);

    auto sink = std::make_shared<MemorySink>(Pacing::None);
    std::vector<std::shared_ptr<AudioSink>> outage = {std::make_shared<FailedSink>(), nullptr,
                                                      nullptr, nullptr, sink};
    voice = VoiceOpening(outage);
    const CallResult failed = hello(voice.get());
    EXPECT_EQ(failed.hr, DISP_E_EXCEPTION);
    EXPECT_EQ(failed.error, u"No sound output device is available.");
    EXPECT_EQ(Call(voice.get(), SpVoice::kSpeak, kMethod, {Text(u""), kPurge}).hr, S_OK);
    EXPECT_EQ(sink->SampleCount(), 0u);
    EXPECT_EQ(hello(voice.get()).hr, S_OK);
    EXPECT_GT(Peak(sink->Samples()), 1000);
}

TEST(SpVoiceLifetimeTest, ReleasingTheLastVoiceWhilePlayingStopsQuickly) {
    auto sink = std::make_shared<MemorySink>(Pacing::SoundCard);
    IDispatch* voice = SpVoice::Create([sink] { return sink; });
    Call(voice, SpVoice::kSpeak, kMethod, {Text(kLongText), kAsync});
    std::this_thread::sleep_for(100ms);
    const Clock::time_point start = Clock::now();
    voice->Release();
    EXPECT_LT(Clock::now() - start, 200ms);
    const std::size_t count = sink->SampleCount();
    std::this_thread::sleep_for(100ms);
    EXPECT_EQ(sink->SampleCount(), count);
}

// The voice object set to the listed voice of that description.
void ChooseVoice(IDispatch* voice, std::u16string_view description) {
    Ref tokens(
        Call(voice, SpVoice::kGetVoices, kMethod, {Text(u""), Text(u"")}).value.DetachDispatch());
    const LONG count = Call(tokens.get(), 1, kGet).value.lVal();
    for (LONG i = 0; i < count; ++i) {
        const COleVariant token = Call(tokens.get(), 0, kMethod, {i}).value;
        if (Call(token.pdispVal(), 4, kMethod, {0}).value.bstrVal() == description) {
            ASSERT_EQ(Call(voice, SpVoice::kVoice, kPutRef, {token}).hr, S_OK);
            return;
        }
    }
    FAIL() << "no voice " << std::string(description.begin(), description.end());
}

// Each Flite voice is heard, at its natural length: one resampled from the wrong rate
// would last half or twice as long.
TEST_F(SpVoiceTest, EachFliteVoiceSpeaksASentenceAtItsNaturalLength) {
    for (const char16_t* name : {u"slt", u"awb", u"rms", u"kal16", u"kal"}) {
        Ref voice = NewVoice(Pacing::None);
        const std::u16string description =
            u"English (America, " + std::u16string(name) + u") (Flite)";
        ChooseVoice(voice.get(), description);
        Speak(voice.get(), kSentence, 0);
        SCOPED_TRACE(std::string(description.begin(), description.end()));
        EXPECT_GT(Peak(sink->Samples()), 2000);
        EXPECT_GT(Seconds(), 2.0);
        EXPECT_LT(Seconds(), 4.5);
    }
}

// A purge while Flite is in the middle of one long sentence (it waits on the full sound
// buffer then) silences it at once, and nothing of the sentence holds up what comes next.
TEST_F(SpVoiceTest, PurgeInTheMiddleOfALongFliteSentence) {
    Ref voice = NewVoice(Pacing::SoundCard);
    ChooseVoice(voice.get(), u"English (America, slt) (Flite)");
    std::u16string sentence = u"The keeper climbed the stairs";
    for (int clause = 0; clause < 12; ++clause)
        sentence += u", and then he trimmed the wick and polished the great lens again";
    Speak(voice.get(), (sentence + u".").c_str(), kAsync);
    std::this_thread::sleep_for(500ms);
    ASSERT_GT(sink->SampleCount(), 0u);

    ExpectSilenceAfterPurge(voice.get());
    // What is spoken next is heard alone, with nothing of the rest of the sentence.
    const std::size_t before = sink->SampleCount();
    Speak(voice.get(), u"Hello.", 0);
    EXPECT_GT(Seconds(before), 0.2);
    EXPECT_LT(Seconds(before), 1.5);
}

} // namespace
