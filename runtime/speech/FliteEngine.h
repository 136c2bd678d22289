#pragma once

#include "runtime/speech/SpeechEngine.h"

// Flite with its five general English voices, built into the program. Flite keeps global
// state like eSpeak NG: one engine object at a time, used from the thread that created it.
// Flite makes one utterance of whatever text it is given, and starts to sound only once it
// has analysed all of it, so a long text is spoken a sentence at a time, and a long
// sentence a clause at a time: the first sound then comes as soon as for a short text.
class FliteEngine final : public SpeechEngine {
  public:
    FliteEngine();
    FliteEngine(const FliteEngine&) = delete;
    FliteEngine& operator=(const FliteEngine&) = delete;

    bool IsReady() const override { return true; }
    const std::vector<VoiceInfo>& Voices() override;
    int SampleRate(std::string_view voiceIdentifier) const override;
    bool Synthesize(std::string_view utf8Text, std::string_view voiceIdentifier,
                    const SampleConsumer& consumer) override;
};
