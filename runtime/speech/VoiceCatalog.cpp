#include "runtime/speech/VoiceCatalog.h"

#include "runtime/speech/SpeechEngines.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <utility>

namespace {

std::string Lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
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

// Where the voice belongs in the list for the language, as (group, closeness): the
// language's voices by how natural they sound, then all others together.
std::pair<int, int> PlaceOf(const VoiceInfo& voice, std::string_view language) {
    const int closeness = Closeness(voice, language);
    if (closeness == 2)
        return {static_cast<int>(Naturalness::Plain) + 1, 0};
    return {static_cast<int>(voice.naturalness), closeness};
}

} // namespace

std::vector<VoiceInfo> VoiceCatalog::List(SpeechEngines& engines) {
    static const std::vector<VoiceInfo> voices = [&] {
        std::vector<VoiceInfo> merged;
        for (SpeechEngine* engine : engines.All())
            merged.insert(merged.end(), engine->Voices().begin(), engine->Voices().end());
        return InLanguageOrder(std::move(merged), UserLanguage());
    }();
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
        return PlaceOf(a, language) < PlaceOf(b, language);
    });
    return voices;
}
