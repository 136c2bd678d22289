#include "runtime/speech/VoiceCatalog.h"

#include "runtime/speech/EspeakEngine.h"

#include <espeak-ng/speak_lib.h>

#include <algorithm>

namespace {

std::string DescriptionOf(const char* name) {
    std::string description = name;
    std::replace(description.begin(), description.end(), '_', ' ');
    return description;
}

// The languages field is a list of (priority byte, name, terminating zero) entries; the
// first name is the voice's main language.
std::string MainLanguageOf(const espeak_VOICE& voice) {
    return voice.languages && voice.languages[0] ? std::string(voice.languages + 1) : std::string();
}

} // namespace

std::vector<VoiceInfo> VoiceCatalog::List(EspeakEngine& engine) {
    std::vector<VoiceInfo> voices;
    if (!engine.IsReady())
        return voices;
    for (const espeak_VOICE** voice = espeak_ListVoices(nullptr); voice && *voice; ++voice) {
        const espeak_VOICE& entry = **voice;
        if (!entry.name || !entry.identifier)
            continue;
        // A voice whose data is missing (an MBROLA voice without MBROLA, for instance)
        // is listed by eSpeak NG but cannot be selected; leave it out.
        if (espeak_SetVoiceByName(entry.identifier) != EE_OK)
            continue;
        voices.push_back({entry.identifier, DescriptionOf(entry.name), MainLanguageOf(entry)});
    }
    return voices;
}
