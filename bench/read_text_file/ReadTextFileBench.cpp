// Reads a 100 MB text file with the text file reader and prints its throughput and peak
// memory, next to the same filtering and conversion done by "tr | iconv" on the same file.

#include "storage/TextFileReader.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

constexpr std::size_t kFileBytes = 100 * 1000 * 1000;
constexpr int kRounds = 3;

// Text of the kind the program reads aloud: words, punctuation that the reader drops,
// Chinese characters and CR LF line ends.
void MakeTextFile(const std::filesystem::path& path) {
    const std::vector<std::string> words = {"The",
                                            "quick",
                                            "brown,",
                                            "fox",
                                            "jumps.",
                                            "over",
                                            "$5",
                                            "lazy",
                                            "dogs",
                                            "and",
                                            "cats",
                                            "again,",
                                            "\xE4\xBD\xA0\xE5\xA5\xBD",
                                            "Murmelo",
                                            "speaks",
                                            "text.",
                                            "\xE4\xB8\xAD\xE6\x96\x87\xE3\x80\x82"};
    std::string text;
    text.reserve(kFileBytes + 64);
    unsigned state = 12345;
    std::size_t lineLength = 0;
    while (text.size() < kFileBytes) {
        state = state * 1103515245u + 12345u;
        const std::string& word = words[(state >> 16) % words.size()];
        text += word;
        lineLength += word.size() + 1;
        if (lineLength > 72) {
            text += "\r\n";
            lineLength = 0;
        } else {
            text += ' ';
        }
    }
    text.resize(kFileBytes);
    std::ofstream(path, std::ios::binary) << text;
}

long StatusKilobytes(const char* field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line)) {
        if (line.rfind(prefix, 0) == 0)
            return std::atol(line.c_str() + prefix.size());
    }
    return -1;
}

double Seconds(std::chrono::steady_clock::duration duration) {
    return std::chrono::duration<double>(duration).count();
}

// Runs one read in a fresh child, so that the peak memory measured is that read's own. The
// reader's diagnostic lines go to /dev/null; the figures come back through a pipe.
struct ReaderRun {
    double seconds = 0;
    long peakKilobytes = 0;
    long startKilobytes = 0;
};

std::optional<ReaderRun> RunReaderInChild(const std::string& path) {
    int channel[2];
    if (pipe(channel) != 0)
        return std::nullopt;
    std::fflush(stdout);
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        std::freopen("/dev/null", "w", stdout);
        ReaderRun run;
        run.startKilobytes = StatusKilobytes("VmRSS");
        const auto start = std::chrono::steady_clock::now();
        std::optional<std::u16string> text;
        const bool read = TextFileReader::Read(path.c_str(), text);
        run.seconds = Seconds(std::chrono::steady_clock::now() - start);
        run.peakKilobytes = StatusKilobytes("VmHWM");
        const bool ok = read && text && !text->empty();
        if (write(channel[1], &run, sizeof run) != sizeof run)
            _exit(2);
        _exit(ok ? 0 : 1);
    }
    close(channel[1]);
    ReaderRun run;
    const bool received = read(channel[0], &run, sizeof run) == sizeof run;
    close(channel[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!received || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return run;
}

std::optional<double> RunPipeline(const std::string& path) {
    const std::string command =
        "tr -d '.,$' < '" + path + "' | iconv -f UTF-8 -t UTF-16LE > /dev/null";
    const char* argv[] = {"sh", "-c", command.c_str(), nullptr};
    const auto start = std::chrono::steady_clock::now();
    pid_t child = 0;
    if (posix_spawn(&child, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
        return std::nullopt;
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return Seconds(std::chrono::steady_clock::now() - start);
}

} // namespace

int main() {
    std::string folder = (std::filesystem::temp_directory_path() / "murmelo-bench-XXXXXX").string();
    if (!mkdtemp(folder.data())) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::string path = folder + "/text.txt";
    MakeTextFile(path);
    const double megabytes = kFileBytes / 1e6;
    std::printf("file: %.0f MB of text with CR LF line ends\n", megabytes);

    // The first run of each brings the file into the page cache; the best of the rest counts.
    double bestReader = 1e9;
    double bestPipeline = 1e9;
    long peakKilobytes = 0;
    long startKilobytes = 0;
    bool failed = false;
    for (int round = 0; round <= kRounds; ++round) {
        const auto reader = RunReaderInChild(path);
        const auto pipeline = RunPipeline(path);
        if (!reader || !pipeline) {
            failed = true;
            break;
        }
        if (round == 0)
            continue;
        bestReader = std::min(bestReader, reader->seconds);
        bestPipeline = std::min(bestPipeline, *pipeline);
        peakKilobytes = std::max(peakKilobytes, reader->peakKilobytes);
        startKilobytes = reader->startKilobytes;
    }
    std::filesystem::remove_all(folder);
    if (failed) {
        std::fprintf(stderr, "a run failed\n");
        return 1;
    }

    const double readerRate = megabytes / bestReader;
    const double pipelineRate = megabytes / bestPipeline;
    const double peakBytes = peakKilobytes * 1024.0;
    std::printf("TextFileReader:  %8.1f MB/s (%.3f s)\n", readerRate, bestReader);
    std::printf("tr | iconv:      %8.1f MB/s (%.3f s)\n", pipelineRate, bestPipeline);
    std::printf("speed-up:        %8.2f x   (goal >= 1.5 x)\n", readerRate / pipelineRate);
    std::printf("peak memory:     %8.1f MB  = %.2f x the file (goal <= 3.2 x); %.1f MB before "
                "the read\n",
                peakBytes / 1e6, peakBytes / kFileBytes, startKilobytes * 1024.0 / 1e6);
    return 0;
}
