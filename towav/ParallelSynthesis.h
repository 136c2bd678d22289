#pragma once

#include "runtime/speech/SpeechSynthesizer.h"

#include <cstddef>
#include <string_view>

class ProgressLine;
struct SpeechSettings;

// Speaks a whole text with every core the converter may use. A long text is cut into runs
// at sentence and paragraph ends, the runs are synthesized side by side in worker
// processes (the engines keep global state, so threads could not share them), and their
// samples are joined in order into the one stream that speaking the text at once gives:
// each run ends with the pause the voice makes before the next one inside the whole text.
class ParallelSynthesis {
  public:
    // The processes the converter may use: TOWAV_PROCESSES when it holds a positive
    // number, else the cores it may run on.
    static std::size_t AvailableProcesses();

    // Passes the samples in order to consumer and reports progress in bytes of text.
    // False when the voice could not speak a part of the text or the consumer stopped.
    static bool Speak(std::string_view text, const SpeechSettings& settings,
                      SpeechSynthesizer& synthesizer, std::size_t processes,
                      const SpeechSynthesizer::SampleConsumer& consumer, ProgressLine& progress);
};
