#include "runtime/speech/SpeechEngines.h"

#include <algorithm>

bool SpeechEngines::IsReady() const {
    return m_espeak.IsReady() || m_flite.IsReady();
}

SpeechEngine* SpeechEngines::For(std::string_view voiceIdentifier) {
    for (SpeechEngine* engine : All())
        if (std::ranges::find(engine->Voices(), voiceIdentifier, &VoiceInfo::identifier) !=
            engine->Voices().end())
            return engine;
    return nullptr;
}
