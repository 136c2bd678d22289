#include "runtime/speech/EspeakEngine.h"

#include "runtime/speech/VoiceCheckCache.h"

#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <cctype>
#include <string>

namespace {

// Milliseconds of sound eSpeak NG hands to the callback at a time. Short chunks let the
// first sound start early and let a stop take effect between two chunks.
constexpr int kChunkMilliseconds = 20;

bool InitializeOnce() {
    static const bool ready =
        espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, kChunkMilliseconds, nullptr,
                          espeakINITIALIZE_DONT_EXIT) == EspeakEngine::kSampleRate;
    return ready;
}

std::string DescriptionOf(const char* name) {
    std::string description = name;
    std::replace(description.begin(), description.end(), '_', ' ');
    return description;
}

// The languages field is a list of (priority byte, name, terminating zero) entries, ended
// by a zero priority; the first name is the voice's main language.
std::vector<std::string> LanguagesOf(const espeak_VOICE& voice) {
    std::vector<std::string> languages;
    for (const char* entry = voice.languages; entry && *entry;) {
        std::string name(entry + 1);
        entry += name.size() + 2;
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        languages.push_back(std::move(name));
    }
    return languages;
}

// Reads the voices from eSpeak NG and tries each.
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

// The synthesis in progress. eSpeak NG's callback is a plain function and eSpeak NG is
// global state that runs one synthesis at a time, so the callback finds its consumer here.
struct Synthesis {
    const SpeechEngine::SampleConsumer* consumer;
    bool stopped = false;
};
Synthesis* g_synthesis = nullptr;

int OnSamples(short* samples, int count, espeak_EVENT*) {
    Synthesis& synthesis = *g_synthesis;
    if (synthesis.stopped)
        return 1;
    if (samples && count > 0 &&
        !(*synthesis.consumer)(
            std::span<const std::int16_t>(samples, static_cast<std::size_t>(count)))) {
        synthesis.stopped = true;
        // Returning 1 makes eSpeak NG abandon the rest of the text straight away.
        return 1;
    }
    return 0;
}

} // namespace

EspeakEngine::EspeakEngine() : m_ready(InitializeOnce()) {}

const std::vector<VoiceInfo>& EspeakEngine::Voices() {
    static const std::vector<VoiceInfo> none;
    if (!m_ready)
        return none;
    // Once per process is enough, as the installed voices do not change while a program
    // runs, and eSpeak NG loses memory on every further listing.
    static const std::vector<VoiceInfo> voices =
        CheckedVoices(VoiceCheckCache(VoiceCheckCache::UserFolder()));
    return voices;
}

std::vector<VoiceInfo> EspeakEngine::CheckedVoices(const VoiceCheckCache& cache) {
    const std::string key = VoiceCheckCache::CurrentKey();
    if (std::optional<std::vector<VoiceInfo>> stored = cache.Load(key))
        return *std::move(stored);
    std::vector<VoiceInfo> voices = ReadVoices();
    cache.Store(key, voices);
    return voices;
}

bool EspeakEngine::Synthesize(std::string_view utf8Text, std::string_view voiceIdentifier,
                              const SampleConsumer& consumer) {
    if (!m_ready || espeak_SetVoiceByName(std::string(voiceIdentifier).c_str()) != EE_OK)
        return false;
    // eSpeak NG always speaks at its normal rate and amplitude; the synthesizer applies
    // speed and volume to its samples, because its own rate setting has a floor and a jump.
    espeak_SetParameter(espeakRATE, espeakRATE_NORMAL, 0);
    espeak_SetSynthCallback(OnSamples);
    Synthesis synthesis{&consumer};
    g_synthesis = &synthesis;
    const std::string text(utf8Text);
    const espeak_ERROR result = espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0,
                                             espeakCHARS_UTF8, nullptr, nullptr);
    g_synthesis = nullptr;
    return !synthesis.stopped && result == EE_OK;
}
