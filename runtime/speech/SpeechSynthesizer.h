#pragma once

#include "runtime/speech/SpeechSettings.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

class EspeakEngine;
struct SpeechLevels;

// Turns text into 22050 Hz mono 16-bit samples with a voice, rate and volume. The speech
// runtime plays the samples as they come; the converter collects them into a file, so
// both sound the same. Runs on the thread that owns the engine.
class SpeechSynthesizer {
  public:
    // Receives the samples in order as they are synthesized; returning false stops the
    // synthesis at once.
    using SampleConsumer = std::function<bool(std::span<const std::int16_t>)>;

    explicit SpeechSynthesizer(EspeakEngine& engine);

    // Synthesizes UTF-8 text. Returns false when the consumer stopped it or eSpeak NG
    // could not speak the text with the voice.
    bool Synthesize(std::string_view utf8Text, const SpeechSettings& settings,
                    const SampleConsumer& consumer);
    // The same with the rate and volume taken from levels, which may change while the
    // text is spoken; the settings give only the voice.
    bool Synthesize(std::string_view utf8Text, const SpeechSettings& settings,
                    const SpeechLevels& levels, const SampleConsumer& consumer);
    // The whole text at once, with no sound device involved.
    std::vector<std::int16_t> SynthesizeAll(std::string_view utf8Text,
                                            const SpeechSettings& settings);

    // How much faster than normal a rate of -10..10 speaks: three times at 10, a third at
    // -10, evenly spaced on a logarithmic scale in between.
    static double SpeedFactor(std::int32_t rate);

  private:
    bool Run(std::string_view utf8Text, const SpeechSettings& settings, const SpeechLevels* levels,
             const SampleConsumer& consumer);

    EspeakEngine& m_engine;
};
