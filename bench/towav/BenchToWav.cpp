// Times towav.exe against eSpeak NG's own command-line program writing the same text to a
// WAV file with the same voice at the normal rate and volume, and against itself held to
// one process (TOWAV_PROCESSES=1); then the same with Flite's slt voice against Flite's
// own program. All are started afresh for every run, as the dialog starts the converter,
// in turns, so that whatever else the machine does falls on each alike. It prints the
// median wall time of each, the ratios, the machine's load, and how long each output
// speaks, since cutting a text into runs must not change its length.
#include "runtime/speech/SpeechEngines.h"
#include "runtime/speech/VoiceCatalog.h"
#include "towav/QuietStandardError.h"

#include <sndfile.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <spawn.h>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

// One comparison: the same text and voice through towav.exe, towav.exe in one process and
// the engine's own program.
struct Comparison {
    const char* engineName;
    // The voice as the engine's program names it, and as the runtime's catalog does.
    const char* programVoice;
    const char* voiceIdentifier;
    std::size_t textLength;
    int runs;
    // How many times faster than the engine's program towav.exe should be: eSpeak NG's
    // program uses one core, which towav.exe should beat; against Flite's program it may
    // take at most 1.1 times as long.
    double goal;
    // The engine's program, with its voice, output and input in the places of the
    // "VOICE", "OUTPUT" and "INPUT" words.
    std::vector<std::string> program;
};

const Comparison kComparisons[] = {
    {"espeak-ng -w",
     "en-us",
     "gmw/en-US",
     100'000,
     5,
     1.5,
     {"espeak-ng", "-v", "VOICE", "-w", "OUTPUT", "-f", "INPUT"}},
    {"flite",
     "slt",
     "flite/slt",
     100'000,
     1,
     1 / 1.1,
     {"flite", "-voice", "VOICE", "-f", "INPUT", "-o", "OUTPUT"}},
};

// Plain English prose in paragraphs, repeated to the length wanted.
std::string BenchmarkText(std::size_t length) {
    const std::string paragraph =
        "The quick brown fox jumps over the lazy dog, while seven bright stars shine above "
        "the quiet hills. The river runs on towards the sea! Who would have thought that "
        "the old mill still turns its wheel after all these years? Nobody in the village "
        "remembers when it was built.\n\n";
    std::string text;
    while (text.size() < length)
        text += paragraph;
    text.resize(length);
    return text;
}

struct Contender {
    const char* name;
    std::vector<std::string> command;
    // Set in the environment of its runs only.
    const char* variable;
    std::string output;
    std::vector<double> times;
};

// Runs the program with its standard output and error discarded; the wall time in seconds,
// or a negative number when it did not end with status 0. The output file of its last run
// is removed and the removal made durable first: freeing the blocks of hundreds of
// megabytes is the work of whoever removes them, not of the next program to write a file.
double TimeRun(const Contender& contender) {
    std::filesystem::remove(contender.output);
    sync();
    std::vector<char*> argv;
    for (const std::string& argument : contender.command)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> environment(
        environ, environ + [] {
            std::size_t count = 0;
            while (environ[count])
                ++count;
            return count;
        }());
    if (contender.variable)
        environment.push_back(const_cast<char*>(contender.variable));
    environment.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    const int spawned =
        posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environment.data());
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

// How long the sound file speaks, in seconds, or a negative number when it cannot be read.
double Duration(const std::string& path) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file)
        return -1;
    sf_close(file);
    return static_cast<double>(info.frames) / info.samplerate;
}

double LoadAverage() {
    double load = -1;
    std::ifstream("/proc/loadavg") >> load;
    return load;
}

// The converter's number for the voice: its 1-based place in the runtime's voice list.
int VoiceNumberOf(const std::string& identifier) {
    const QuietStandardError quiet;
    SpeechEngines engines;
    const auto voices = VoiceCatalog::List(engines);
    for (std::size_t i = 0; i < voices.size(); ++i)
        if (voices[i].identifier == identifier)
            return static_cast<int>(i) + 1;
    return 0;
}

// Runs the comparison in the folder; false when a run failed.
bool Compare(const Comparison& comparison, const std::filesystem::path& folder) {
    const int voiceNumber = VoiceNumberOf(comparison.voiceIdentifier);
    if (voiceNumber == 0) {
        std::fprintf(stderr, "the voice %s is not installed\n", comparison.voiceIdentifier);
        return false;
    }
    const std::string input = folder / "input.txt";
    std::ofstream(input, std::ios::binary) << BenchmarkText(comparison.textLength);

    const std::string voice = std::to_string(voiceNumber);
    std::vector<Contender> contenders = {
        {"towav.exe", {}, nullptr, folder / "towav.wav", {}},
        {"towav.exe, one process", {}, "TOWAV_PROCESSES=1", folder / "single.wav", {}},
        {comparison.engineName, comparison.program, nullptr, folder / "engine.wav", {}},
    };
    contenders[0].command = {TOWAV_PATH, input, contenders[0].output, voice, "0", "100"};
    contenders[1].command = {TOWAV_PATH, input, contenders[1].output, voice, "0", "100"};
    for (std::string& word : contenders[2].command)
        word = word == "VOICE"    ? comparison.programVoice
               : word == "OUTPUT" ? contenders[2].output
               : word == "INPUT"  ? input
                                  : word;
    const double loadBefore = LoadAverage();
    for (int run = 0; run < comparison.runs; ++run)
        for (Contender& contender : contenders)
            contender.times.push_back(TimeRun(contender));
    const double loadAfter = LoadAverage();
    for (const Contender& contender : contenders)
        if (std::ranges::any_of(contender.times, [](double t) { return t < 0; })) {
            std::fprintf(stderr, "a run of %s failed\n", contender.name);
            return false;
        }

    std::printf("%zu characters, voice %s (towav.exe voice %d), %d runs each in turn, "
                "load average %.2f before, %.2f after\n",
                comparison.textLength, comparison.programVoice, voiceNumber, comparison.runs,
                loadBefore, loadAfter);
    const double engineDuration = Duration(contenders[2].output);
    for (const Contender& contender : contenders) {
        const double duration = Duration(contender.output);
        std::printf("%-24s median %8.1f ms (fastest %8.1f ms), speaks %9.2f s (%+.3f %% of "
                    "%s)\n",
                    contender.name, Median(contender.times) * 1000,
                    *std::ranges::min_element(contender.times) * 1000, duration,
                    (duration / engineDuration - 1) * 100, comparison.engineName);
    }
    const double towav = Median(contenders[0].times);
    std::printf("%-16s / towav.exe  %5.2f x faster (goal: at least %.2f)\n", comparison.engineName,
                Median(contenders[2].times) / towav, comparison.goal);
    std::printf("one process / towav.exe  %5.2f x faster\n", Median(contenders[1].times) / towav);
    return true;
}

} // namespace

// With a program name ("espeak-ng" or "flite") as its argument, only that comparison runs.
// Flite's takes some four minutes for its one run each: flite alone speaks 100,000
// characters in about 100 s.
int main(int argc, char** argv) {
    const std::string_view only = argc > 1 ? argv[1] : "";
    std::string folderPattern = std::filesystem::temp_directory_path() / "bench-towav-XXXXXX";
    if (!mkdtemp(folderPattern.data()))
        return 1;
    const std::filesystem::path folder = folderPattern;
    bool compared = true;
    for (const Comparison& comparison : kComparisons)
        if (only.empty() || comparison.program.front() == only)
            compared = compared && Compare(comparison, folder);
    std::filesystem::remove_all(folder);
    return compared ? 0 : 1;
}
