#pragma once

#include "runtime/speech/SpeechEngine.h"
#include "runtime/speech/SpeechSettings.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

class SpeechEngines;
class WideTextPieces;
struct SpeechLevels;

// Turns text into the runtime's one stream of samples (AudioSink's rate, mono, 16-bit)
// with a voice of any engine, a rate and a volume: the engine's sound is resampled to the
// stream's rate where it differs, then time-stretched and scaled. The speech runtime
// plays the samples as they come; the converter collects them into a file, so both sound
// the same. Runs on the thread that owns the engines.
class SpeechSynthesizer {
  public:
    using SampleConsumer = SpeechEngine::SampleConsumer;

    explicit SpeechSynthesizer(SpeechEngines& engines);

    // Synthesizes UTF-8 text. Returns false when the consumer stopped it or the voice's
    // engine could not speak the text with it.
    bool Synthesize(std::string_view utf8Text, const SpeechSettings& settings,
                    const SampleConsumer& consumer);
    // A caller's text, piece by piece, as one stream, with the rate and volume taken from
    // levels, which may change while the text is spoken; the settings give only the voice.
    bool Synthesize(WideTextPieces& text, const SpeechSettings& settings,
                    const SpeechLevels& levels, const SampleConsumer& consumer);
    // The whole text at once, with no sound device involved.
    std::vector<std::int16_t> SynthesizeAll(std::string_view utf8Text,
                                            const SpeechSettings& settings);

    // How much faster than normal a rate of -10..10 speaks: three times at 10, a third at
    // -10, evenly spaced on a logarithmic scale in between.
    static double SpeedFactor(std::int32_t rate);

  private:
    // The next piece of UTF-8 text, empty at the end.
    using PieceSource = std::function<std::string_view()>;

    bool Run(const PieceSource& nextPiece, const SpeechSettings& settings,
             const SpeechLevels* levels, const SampleConsumer& consumer);

    SpeechEngines& m_engines;
};
