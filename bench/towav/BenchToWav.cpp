// Times towav.exe against eSpeak NG's own command-line program writing the same text to a
// WAV file with the same voice at the normal rate and volume. Both are started afresh for
// every run, as the dialog starts the converter; the median wall time of each is printed
// with their ratio.
#include "runtime/speech/EspeakEngine.h"
#include "runtime/speech/VoiceCatalog.h"
#include "towav/QuietStandardError.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {

constexpr int kRuns = 11;
constexpr std::size_t kTextLength = 5000;
constexpr const char* kVoiceIdentifier = "gmw/en";

// Plain English prose, repeated to the length wanted.
std::string BenchmarkText() {
    const std::string sentence =
        "The quick brown fox jumps over the lazy dog, while seven bright stars shine above "
        "the quiet hills and the river runs on towards the sea. ";
    std::string text;
    while (text.size() < kTextLength)
        text += sentence;
    text.resize(kTextLength);
    return text;
}

// Runs the program with its output discarded; the wall time in seconds, or a negative
// number when it did not end with status 0.
double TimeRun(const std::vector<std::string>& command) {
    std::vector<char*> argv;
    for (const std::string& argument : command)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    const int spawned = posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned != 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return -1;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> times) {
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

// The converter's number for the voice: its 1-based place in the runtime's voice list.
int VoiceNumberOf(const std::string& identifier) {
    const QuietStandardError quiet;
    EspeakEngine engine;
    const auto voices = VoiceCatalog::List(engine);
    for (std::size_t i = 0; i < voices.size(); ++i)
        if (voices[i].identifier == identifier)
            return static_cast<int>(i) + 1;
    return 0;
}

} // namespace

int main() {
    const int voiceNumber = VoiceNumberOf(kVoiceIdentifier);
    if (voiceNumber == 0) {
        std::fprintf(stderr, "the voice %s is not installed\n", kVoiceIdentifier);
        return 1;
    }
    std::string folderPattern = std::filesystem::temp_directory_path() / "bench-towav-XXXXXX";
    if (!mkdtemp(folderPattern.data()))
        return 1;
    const std::filesystem::path folder = folderPattern;
    const std::string input = folder / "input.txt";
    std::ofstream(input, std::ios::binary) << BenchmarkText();

    const std::vector<std::string> towav = {
        TOWAV_PATH, input, folder / "towav.wav", std::to_string(voiceNumber), "0", "100"};
    const std::vector<std::string> espeak = {
        "espeak-ng", "-v", kVoiceIdentifier, "-w", folder / "espeak.wav", "-f", input};
    std::vector<double> towavTimes;
    std::vector<double> espeakTimes;
    // Alternating runs share whatever the machine is doing at the time fairly.
    for (int run = 0; run < kRuns; ++run) {
        towavTimes.push_back(TimeRun(towav));
        espeakTimes.push_back(TimeRun(espeak));
    }
    std::filesystem::remove_all(folder);
    if (std::ranges::any_of(towavTimes, [](double t) { return t < 0; }) ||
        std::ranges::any_of(espeakTimes, [](double t) { return t < 0; })) {
        std::fprintf(stderr, "a run failed\n");
        return 1;
    }

    const double towavMedian = Median(towavTimes);
    const double espeakMedian = Median(espeakTimes);
    std::printf("%zu characters, voice %s (towav.exe voice %d), %d runs each, median wall time\n",
                kTextLength, kVoiceIdentifier, voiceNumber, kRuns);
    std::printf("towav.exe      %8.1f ms\n", towavMedian * 1000);
    std::printf("espeak-ng -w   %8.1f ms\n", espeakMedian * 1000);
    std::printf("ratio          %8.2f (goal: at most 1.20)\n", towavMedian / espeakMedian);
    return 0;
}
