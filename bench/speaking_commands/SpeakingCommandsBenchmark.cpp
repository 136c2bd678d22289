// How long Read keeps the dialog busy when it queues the largest loop count, and how soon
// Stop silences that queue; then the same Read of a 20 MB input file: how long it takes,
// how far the program's memory rises above its resting size while the queue is spoken,
// and how long Escape then takes until the dialog and its voice are gone. Runs the real
// dialog offscreen on the real speech runtime, speaking into memory at a sound card's
// pace, in a scratch folder (Read writes set.ini).
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
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <string_view>
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

constexpr std::size_t kFileBytes = 20 * 1000 * 1000;
// Long enough for the speech thread to be well into the first repetition.
constexpr auto kSpeakBeforeEscape = 1s;
constexpr std::string_view kSentence =
    "The quick brown fox jumps over the lazy dog near the river. ";

// A field of /proc/self/status in MB ("VmRSS", "VmHWM").
double StatusMegabytes(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind(field + ":", 0) == 0) {
            std::istringstream value(line.substr(field.size() + 1));
            double kilobytes = 0;
            value >> kilobytes;
            return kilobytes / 1000.0;
        }
    }
    return 0;
}

// Makes the peak resident size start again from the current one.
void ResetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

// Read of a 20 MB file with loop count 999, after a short Read that loads the voice, so
// that the resting size is that of a program that has spoken a few sentences.
void LargeFileRead(const std::filesystem::path& folder) {
    {
        std::ofstream file(folder / "large.txt", std::ios::binary);
        for (std::size_t written = 0; written < kFileBytes; written += kSentence.size())
            file << kSentence;
    }
    std::ofstream(folder / "short.txt") << kSentence << kSentence << kSentence << kSentence;
    const double fileMegabytes =
        static_cast<double>(std::filesystem::file_size(folder / "large.txt")) / 1e6;
    double open = 0;
    double resting = 0;
    double readMilliseconds = 0;
    double peak = 0;
    Clock::time_point escape;
    {
        CMurmeloDlg dlg;
        DialogDriver::RunModal(dlg, [&](DialogDriver& driver) {
            open = StatusMegabytes("VmRSS");
            driver.Click(IDC_INPUT_FILE_CHECK);
            driver.SetText(IDC_INPUT_FILE, (folder / "short.txt").string());
            driver.SetText(IDC_LOOP, "1");
            driver.Click(IDC_READ);
            std::this_thread::sleep_for(kSpeakBeforeEscape);
            driver.Click(IDC_STOP);
            resting = StatusMegabytes("VmRSS");
            driver.SetText(IDC_INPUT_FILE, (folder / "large.txt").string());
            driver.SetText(IDC_LOOP, kLoop);
            ResetPeak();
            const Clock::time_point start = Clock::now();
            driver.Click(IDC_READ);
            readMilliseconds = Milliseconds(Clock::now() - start);
            std::this_thread::sleep_for(kSpeakBeforeEscape);
            peak = StatusMegabytes("VmHWM");
            escape = Clock::now();
            driver.PressKey(Qt::Key_Escape);
        });
    }
    const double escapeMilliseconds = Milliseconds(Clock::now() - escape);
    std::printf("\n%.1f MB input file, loop count %s\n", fileMegabytes, kLoop);
    std::printf("Read until it returns: %.1f ms (goal: under 1000 ms)\n", readMilliseconds);
    std::printf("resting %.1f MB with the dialog open, %.1f MB after a short Read; from there\n"
                "  peak %.1f MB: %.1f MB above resting = %.2f x the file (goal: under 3 x)\n",
                open, resting, peak, peak - resting, (peak - resting) / fileMegabytes);
    std::printf("Escape until the dialog and its voice are gone: %.1f ms (goal: under 300 ms)\n",
                escapeMilliseconds);
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

    LargeFileRead(folder);
    ClassRegistry::Unregister(SpeechRuntime::kVoiceClsid);
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    std::filesystem::remove_all(folder);
    return 0;
}
