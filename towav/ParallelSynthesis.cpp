#include "towav/ParallelSynthesis.h"

#include "runtime/speech/TextRuns.h"
#include "towav/ProgressLine.h"
#include "towav/WorkerPool.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <sched.h>
#include <string>

namespace {

// A run of this many bytes takes a voice some 70 ms to speak (eSpeak NG), far more than
// starting a worker costs; a shorter text gains nothing from being cut.
constexpr std::size_t kShortestRun = 1000;
// Longer runs would only hold more samples in memory while they wait for their turn.
constexpr std::size_t kLongestRun = 3000;
// Runs per process, so that a process that finishes early finds more work.
constexpr std::size_t kRunsPerProcess = 4;

// Samples go on in blocks of this many, so that a worker sends them in few large writes.
constexpr std::size_t kBlock = 64 * 1024;

// Passes on the run's samples, ending where the next run's first word would begin.
bool SpeakRun(SpeechSynthesizer& synthesizer, const SpeechSettings& settings, const TextRun& run,
              const SpeechSynthesizer::SampleConsumer& output) {
    // Both syntheses end with the head as the text's last words, spoken alike, so what
    // the head alone takes is what follows the pause in the run spoken with it.
    std::size_t head = 0;
    if (!run.nextHead.empty() &&
        !synthesizer.Synthesize(run.nextHead, settings, [&](std::span<const std::int16_t> chunk) {
            head += chunk.size();
            return true;
        }))
        return false;
    // The last `head` samples are held back until the run ends, when they are dropped.
    std::vector<std::int16_t> pending;
    const auto passBeforeHead = [&] {
        const std::size_t ready = pending.size() - std::min(head, pending.size());
        if (!output(std::span(pending).first(ready)))
            return false;
        pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(ready));
        return true;
    };
    const std::string text = std::string(run.text) + std::string(run.nextHead);
    return synthesizer.Synthesize(text, settings, [&](std::span<const std::int16_t> chunk) {
        pending.insert(pending.end(), chunk.begin(), chunk.end());
        return pending.size() < head + kBlock || passBeforeHead();
    }) && passBeforeHead();
}

std::size_t RunLength(std::size_t textLength, std::size_t processes) {
    return std::clamp(textLength / (processes * kRunsPerProcess), kShortestRun, kLongestRun);
}

} // namespace

std::size_t ParallelSynthesis::AvailableProcesses() {
    if (const char* chosen = std::getenv("TOWAV_PROCESSES")) {
        const std::string_view text(chosen);
        std::size_t count = 0;
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
        if (error == std::errc() && end == text.data() + text.size() && count > 0)
            return count;
    }
    cpu_set_t cores;
    if (sched_getaffinity(0, sizeof cores, &cores) != 0)
        return 1;
    return static_cast<std::size_t>(std::max(1, CPU_COUNT(&cores)));
}

bool ParallelSynthesis::Speak(std::string_view text, const SpeechSettings& settings,
                              SpeechSynthesizer& synthesizer, std::size_t processes,
                              const SpeechSynthesizer::SampleConsumer& consumer,
                              ProgressLine& progress) {
    const std::vector<TextRun> runs = TextRuns::Cut(text, RunLength(text.size(), processes));
    // One run is spoken in one pass, its samples streamed to the file as they come.
    if (runs.size() == 1)
        return synthesizer.Synthesize(text, settings, consumer);
    const auto deliver = [&](std::size_t index, std::span<const std::int16_t> samples) {
        progress.Update(runs[index].offset + runs[index].text.size());
        return consumer(samples);
    };
    if (processes == 1) {
        for (std::size_t index = 0; index < runs.size(); ++index)
            if (!SpeakRun(
                    synthesizer, settings, runs[index],
                    [&](std::span<const std::int16_t> samples) { return deliver(index, samples); }))
                return false;
        return true;
    }
    // The voice is loaded, and its first words spoken, before the workers are forked, so
    // that each worker starts from a ready voice instead of loading it again.
    if (!synthesizer.Synthesize(runs.front().nextHead, settings,
                                [](std::span<const std::int16_t>) { return true; }))
        return false;
    return WorkerPool::Run(
        runs.size(), processes,
        [&](std::size_t index, const WorkerPool::Output& output) {
            return SpeakRun(synthesizer, settings, runs[index], output);
        },
        deliver);
}
