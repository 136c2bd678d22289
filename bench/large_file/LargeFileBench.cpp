// What a Read of a large input file with the largest loop count costs: how long Read keeps
// the dialog busy, how far the program's memory rises above its resting size while the
// queue is spoken, and how long Escape then takes until the dialog and its voice are gone.
// Runs the real dialog offscreen on the real speech runtime, speaking into nothing at a
// sound card's pace, in a scratch folder (Read writes set.ini there).
#include "platform/ole/AfxOle.h"
#include "res/resource.h"
#include "runtime/speech/NullSink.h"
#include "runtime/speech/SpeechRuntime.h"
#include "ui/CMurmeloDlg.h"

#include "tests/support/DialogDriver.h"

#include <QApplication>

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

#include <unistd.h>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kFileBytes = 20 * 1000 * 1000;
constexpr const char* kLoop = "999";
// Long enough for the speech thread to be well into the first repetition.
constexpr auto kSpeakBeforeEscape = 1s;

double Milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

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

constexpr std::string_view kSentence =
    "The quick brown fox jumps over the lazy dog near the river. ";

void WriteProse(const std::filesystem::path& path) {
    std::ofstream file(path, std::ios::binary);
    for (std::size_t written = 0; written < kFileBytes; written += kSentence.size())
        file << kSentence;
}

} // namespace

int main(int argc, char** argv) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("murmelo-bench-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);
    WriteProse(folder / "large.txt");
    std::ofstream(folder / "short.txt") << kSentence << kSentence << kSentence << kSentence;
    const double fileMegabytes =
        static_cast<double>(std::filesystem::file_size(folder / "large.txt")) / 1e6;

    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (!AfxOleInit()) {
        std::fprintf(stderr, "automation could not be initialised\n");
        return 1;
    }
    SpeechRuntime::Register([] { return std::make_shared<NullSink>(); });

    double resting = 0;
    double coldResting = 0;
    double readMilliseconds = 0;
    double peak = 0;
    Clock::time_point escape;
    {
        CMurmeloDlg dlg;
        DialogDriver::RunModal(dlg, [&](DialogDriver& driver) {
            // A short Read first, so that the voice is loaded and the resting size is that
            // of a program that has spoken a few sentences.
            coldResting = StatusMegabytes("VmRSS");
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
    ClassRegistry::Unregister(SpeechRuntime::kVoiceClsid);
    std::filesystem::current_path(std::filesystem::temp_directory_path());
    std::filesystem::remove_all(folder);

    std::printf("input file %.1f MB, loop count %s\n", fileMegabytes, kLoop);
    std::printf("Read until it returns: %.1f ms (goal: under 1000 ms)\n", readMilliseconds);
    std::printf("resting %.1f MB with the dialog open, %.1f MB after a short Read\n", coldResting,
                resting);
    std::printf(
        "from there: resting %.1f MB, peak %.1f MB: %.1f MB above resting = %.2f x the file "
        "(goal: under 3 x)\n",
        resting, peak, peak - resting, (peak - resting) / fileMegabytes);
    std::printf("Escape until the dialog and its voice are gone: %.1f ms (goal: under 300 ms)\n",
                escapeMilliseconds);
    return 0;
}
