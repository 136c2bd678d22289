#pragma once

#include "runtime/speech/VoiceInfo.h"

#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

// One speech engine behind the runtime: it lists its voices and speaks a text with one of
// them into mono 16-bit samples at that voice's own rate. The synthesizer makes every
// engine's sound into the runtime's one stream, so the engines know nothing of rate,
// volume, sinks or stops beyond a consumer that refuses more samples. Engines keep global
// state: each is used from one thread at a time.
class SpeechEngine {
  public:
    // Receives the samples in order as they are synthesized; returning false stops the
    // synthesis at once.
    using SampleConsumer = std::function<bool(std::span<const std::int16_t>)>;

    virtual ~SpeechEngine() = default;

    // False when the engine could not start; it then lists no voices.
    virtual bool IsReady() const = 0;
    // The voices the engine can really speak with, in its own order.
    virtual const std::vector<VoiceInfo>& Voices() = 0;
    // The rate of the samples the voice gives, in Hz.
    virtual int SampleRate(std::string_view voiceIdentifier) const = 0;
    // Speaks UTF-8 text with one of the engine's voices. False when the consumer stopped
    // it or the engine could not speak the text with the voice.
    virtual bool Synthesize(std::string_view utf8Text, std::string_view voiceIdentifier,
                            const SampleConsumer& consumer) = 0;
};
