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

// Reads the voices from eSpeak NG. Once per process is enough, as the installed voices do
// not change while a program runs, and eSpeak NG loses memory on every further listing.
std::vector<VoiceInfo> ReadVoices() {
    std::vector<VoiceInfo> voices;
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

} // namespace

std::vector<VoiceInfo> VoiceCatalog::List(EspeakEngine& engine) {
    if (!engine.IsReady())
        return {};
    static const std::vector<VoiceInfo> voices = ReadVoices();
    return voices;
}
