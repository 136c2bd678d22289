#pragma once

#include "runtime/speech/EspeakEngine.h"
#include "runtime/speech/FliteEngine.h"

#include <array>
#include <string_view>

// The engines the runtime speaks with, in the order their voices are listed before the
// user's language reorders them: eSpeak NG, then Flite. Like the engines themselves, one
// set exists at a time, used from the thread that created it.
class SpeechEngines {
  public:
    SpeechEngines() = default;
    SpeechEngines(const SpeechEngines&) = delete;
    SpeechEngines& operator=(const SpeechEngines&) = delete;

    // True when at least one engine started.
    bool IsReady() const;
    std::array<SpeechEngine*, 2> All() { return {&m_espeak, &m_flite}; }
    // The engine that lists the voice, or null.
    SpeechEngine* For(std::string_view voiceIdentifier);

  private:
    EspeakEngine m_espeak;
    FliteEngine m_flite;
};
