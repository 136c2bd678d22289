#include "platform/ole/AfxOle.h"
#include "res/resource.h"
#include "runtime/speech/MemorySink.h"
#include "runtime/speech/SpeechRuntime.h"
#include "speech/SpeechFlags.h"
#include "ui/CMurmeloDlg.h"

#include "tests/support/RunAndEscape.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kSampleRate = 22050;

constexpr const char* kLongText =
    "This text keeps the voice busy for several seconds, so that there is time to stop it "
    "in the middle. It goes on, sentence after sentence, about nothing in particular, until "
    "somebody decides that enough has been said and presses the button.";

// The real speech runtime under "SAPI.SpVoice", speaking into memory.
class RealSpeech : public testing::Test {
  protected:
    void Start(Pacing pacing) {
        ASSERT_TRUE(AfxOleInit());
        sink = std::make_shared<MemorySink>(pacing);
        std::shared_ptr<AudioSink> opened = sink;
        SpeechRuntime::Register([opened] { return opened; });
    }
    void TearDown() override { ClassRegistry::Unregister(SpeechRuntime::kVoiceClsid); }

    // Reads the text with this loop count and waits until it has all been spoken; returns
    // the seconds of sound it made.
    double SecondsRead(CMurmeloDlg& dlg, DialogDriver& driver, const char* loop) {
        sink->Clear();
        driver.SetText(IDC_LOOP, loop);
        driver.Click(IDC_READ);
        // A synchronous empty text returns once everything queued before it has played.
        dlg.m_voice.Speak("", 0);
        return static_cast<double>(sink->SampleCount()) / kSampleRate;
    }

    std::shared_ptr<MemorySink> sink;
};

TEST_F(RealSpeech, ReadWithLoopCountThreeMakesThreeTimesTheSound) {
    Start(Pacing::None);
    CMurmeloDlg dlg;
    double once = 0;
    double thrice = 0;
    RunAndEscape(dlg, [&](DialogDriver& driver) {
        driver.SetText(IDC_TEXT, "Three little words.");
        once = SecondsRead(dlg, driver, "1");
        thrice = SecondsRead(dlg, driver, "3");
    });
    ASSERT_GT(once, 0.3);
    EXPECT_NEAR(thrice / once, 3.0, 0.1);
}

TEST_F(RealSpeech, StopSilencesALongReadAtOnceAndForGood) {
    Start(Pacing::SoundCard);
    CMurmeloDlg dlg;
    RunAndEscape(dlg, [&](DialogDriver& driver) {
        driver.SetText(IDC_TEXT, kLongText);
        driver.SetText(IDC_LOOP, "3");
        driver.Click(IDC_READ);
        std::this_thread::sleep_for(500ms);
        ASSERT_GT(sink->SampleCount(), 0u);

        const Clock::time_point stopped = Clock::now();
        driver.Click(IDC_STOP);
        std::this_thread::sleep_for(100ms);
        const std::size_t afterStop = sink->SampleCount();
        ASSERT_TRUE(sink->LastArrival());
        EXPECT_LT(*sink->LastArrival() - stopped, 50ms);

        // Nothing that was queued before Stop comes back later.
        std::this_thread::sleep_for(700ms);
        EXPECT_EQ(sink->SampleCount(), afterStop);
    });
}

} // namespace
