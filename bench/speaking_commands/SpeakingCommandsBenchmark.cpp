// How long Read keeps the dialog busy when it queues the largest loop count, and how soon
// Stop silences that queue. Runs the real dialog offscreen on the real speech runtime,
// speaking into memory at a sound card's pace, in a scratch folder (Read writes set.ini).
#include "platform/ole/AfxOle.h"
#include "res/resource.h"
#include "runtime/speech/MemorySink.h"
#include "runtime/speech/SpeechRuntime.h"
#include "ui/CMurmeloDlg.h"

#include "tests/support/DialogDriver.h"

#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include <unistd.h>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kRounds = 7;
constexpr const char* kLoop = "999";
// How long the queue plays before Stop, so that Stop meets speech in full flow.
constexpr auto kPlayBeforeStop = 600ms;
// Long enough for anything Stop failed to silence to show up.
constexpr auto kAfterStop = 300ms;

// 259 characters of ordinary prose.
std::string BenchText() {
    std::string text =
        "Murmelo reads this paragraph aloud many times over, so that the queue of the speech "
        "runtime fills up with hundreds of utterances. The benchmark measures how quickly the "
        "Read command returns, and how quickly the Stop command silences all that speech again";
    text.resize(259, '.');
    return text;
}

double Milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("murmelo-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);

    // The benchmark owns its application object, so that it goes before Qt's globals do.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (!AfxOleInit()) {
        std::fprintf(stderr, "automation could not be initialised\n");
        return 1;
    }
    auto sink = std::make_shared<MemorySink>(Pacing::SoundCard);
    std::shared_ptr<AudioSink> opened = sink;
    SpeechRuntime::Register([opened] { return opened; });

    const std::string text = BenchText();
    std::vector<double> readTimes;
    std::vector<double> stopTimes;
    std::vector<double> singleReadTimes;
    bool playingAtEveryStop = true;
    {
        CMurmeloDlg dlg;
        DialogDriver::RunModal(dlg, [&](DialogDriver& driver) {
            driver.SetText(IDC_TEXT, text);
            for (int round = 0; round < kRounds; ++round) {
                // Read with one repetition: the part of Read that does not grow with the
                // loop count (the transfers and saving the settings).
                driver.SetText(IDC_LOOP, "1");
                Clock::time_point start = Clock::now();
                driver.Click(IDC_READ);
                singleReadTimes.push_back(Milliseconds(Clock::now() - start));
                driver.Click(IDC_STOP);

                driver.SetText(IDC_LOOP, kLoop);
                start = Clock::now();
                driver.Click(IDC_READ);
                readTimes.push_back(Milliseconds(Clock::now() - start));

                std::this_thread::sleep_for(kPlayBeforeStop);
                playingAtEveryStop = playingAtEveryStop && sink->SampleCount() > 0;
                sink->Clear();
                start = Clock::now();
                driver.Click(IDC_STOP);
                std::this_thread::sleep_for(kAfterStop);
                const auto last = sink->LastArrival();
                stopTimes.push_back(last ? std::max(0.0, Milliseconds(*last - start)) : 0.0);
            }
            driver.PressKey(Qt::Key_Escape);
        });
    }
    ClassRegistry::Unregister(SpeechRuntime::kVoiceClsid);
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    std::filesystem::remove_all(folder);

    const auto report = [](const char* what, const std::vector<double>& times, const char* goal) {
        std::printf("%s\n  median %.2f ms, worst %.2f ms%s\n  rounds:", what, Median(times),
                    *std::max_element(times.begin(), times.end()), goal);
        for (const double time : times)
            std::printf(" %.2f", time);
        std::printf(" ms\n");
    };
    std::printf("%d rounds, %zu-character text\n", kRounds, text.size());
    report("Read, loop count 999, until it returns (queueing only):", readTimes,
           " (goal: under 20 ms)");
    report("Read, loop count 1, until it returns (for comparison):", singleReadTimes, "");
    report("Stop while that queue plays, until the last sample reaches the sink:", stopTimes,
           " (goal: under 30 ms)");
    std::printf("  speech was %s at every Stop\n", playingAtEveryStop ? "playing" : "NOT playing");
    return 0;
}
