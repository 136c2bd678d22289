#include "runtime/speech/VoiceCatalog.h"

#include "runtime/speech/EspeakEngine.h"
#include "runtime/speech/VoiceCheckCache.h"

#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

namespace {

std::string DescriptionOf(const char* name) {
    std::string description = name;
    std::replace(description.begin(), description.end(), '_', ' ');
    return description;
}

std::string Lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The languages field is a list of (priority byte, name, terminating zero) entries, ended
// by a zero priority; the first name is the voice's main language.
std::vector<std::string> LanguagesOf(const espeak_VOICE& voice) {
    std::vector<std::string> languages;
    for (const char* entry = voice.languages; entry && *entry;) {
        const std::string name(entry + 1);
        languages.push_back(Lowered(name));
        entry += name.size() + 2;
    }
    return languages;
}

// Reads the voices from eSpeak NG and tries each. Once per process is enough, as the
// installed voices do not change while a program runs, and eSpeak NG loses memory on every
// further listing.
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
        voices.push_back({entry.identifier, DescriptionOf(entry.name), LanguagesOf(entry)});
    }
    return voices;
}

std::string_view MainPartOf(std::string_view language) {
    return language.substr(0, language.find('-'));
}

// 0: the voice speaks the language itself; 1: another variant of its main language;
// 2: neither.
int Closeness(const VoiceInfo& voice, std::string_view language) {
    int closeness = 2;
    for (const std::string& spoken : voice.languages) {
        if (spoken == language)
            return 0;
        if (MainPartOf(spoken) == MainPartOf(language))
            closeness = 1;
    }
    return closeness;
}

} // namespace

std::vector<VoiceInfo> VoiceCatalog::List(EspeakEngine& engine) {
    if (!engine.IsReady())
        return {};
    static const std::vector<VoiceInfo> voices = InLanguageOrder(
        CheckedVoices(VoiceCheckCache(VoiceCheckCache::UserFolder())), UserLanguage());
    return voices;
}

std::vector<VoiceInfo> VoiceCatalog::CheckedVoices(const VoiceCheckCache& cache) {
    const std::string key = VoiceCheckCache::CurrentKey();
    if (std::optional<std::vector<VoiceInfo>> stored = cache.Load(key))
        return *std::move(stored);
    std::vector<VoiceInfo> voices = ReadVoices();
    cache.Store(key, voices);
    return voices;
}

std::string VoiceCatalog::UserLanguage() {
    std::string locale;
    for (const char* variable : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(variable);
        if (value && *value) {
            locale = value;
            break;
        }
    }
    // "ll_CC.encoding@modifier": only the language and the country tell the voice.
    locale = Lowered(locale.substr(0, locale.find_first_of(".@")));
    if (locale.empty() || locale == "c" || locale == "posix")
        return "en";
    std::replace(locale.begin(), locale.end(), '_', '-');
    return locale;
}

std::vector<VoiceInfo> VoiceCatalog::InLanguageOrder(std::vector<VoiceInfo> voices,
                                                     std::string_view language) {
    std::stable_sort(voices.begin(), voices.end(), [&](const VoiceInfo& a, const VoiceInfo& b) {
        return Closeness(a, language) < Closeness(b, language);
    });
    return voices;
}
