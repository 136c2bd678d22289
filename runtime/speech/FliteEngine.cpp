#include "runtime/speech/FliteEngine.h"

#include "runtime/speech/TextRuns.h"

#include <flite/flite.h>

#include <dlfcn.h>

#include <algorithm>
#include <array>
#include <string>

namespace {

struct FliteVoice {
    const char* identifier;
    const char* description;
    Naturalness naturalness;
    int sampleRate;
    // The voice's library (Debian's libflite1 holds them all) and the function in it that
    // makes the voice.
    const char* library;
    const char* entry;
};

// slt, awb and rms are statistical voices and sound far more natural than eSpeak NG;
// kal16 and kal join recorded diphones and sound plainer. All speak American English with
// Flite's US lexicon. (Flite's awb_time voice speaks only clock times and is left out.)
constexpr std::array<FliteVoice, 5> kVoices = {{
    {"flite/slt", "English (America, slt) (Flite)", Naturalness::Natural, 16000,
     "libflite_cmu_us_slt.so.1", "register_cmu_us_slt"},
    {"flite/awb", "English (America, awb) (Flite)", Naturalness::Natural, 16000,
     "libflite_cmu_us_awb.so.1", "register_cmu_us_awb"},
    {"flite/rms", "English (America, rms) (Flite)", Naturalness::Natural, 16000,
     "libflite_cmu_us_rms.so.1", "register_cmu_us_rms"},
    {"flite/kal16", "English (America, kal16) (Flite)", Naturalness::Plain, 16000,
     "libflite_cmu_us_kal16.so.1", "register_cmu_us_kal16"},
    {"flite/kal", "English (America, kal) (Flite)", Naturalness::Plain, 8000,
     "libflite_cmu_us_kal.so.1", "register_cmu_us_kal"},
}};

// A text is first cut at sentence ends into blocks of about this many bytes, and a block
// into its pieces only when its turn comes, so that the first sound of a text of many
// megabytes does not wait for all of it to be cut.
constexpr std::size_t kBlockLength = 16384;
// A sentence longer than this is spoken in clauses, and a clause longer than this is cut
// at a blank, so that Flite never analyses much text before it starts to sound.
constexpr std::size_t kLongestPiece = 240;
// A clause is not cut off shorter than this: each piece ends with a pause, which after a
// few words would break the sentence's flow.
constexpr std::size_t kShortestClause = 60;

// The piece being spoken. Flite's streaming callback is a plain function that finds it
// through the voice's streaming settings.
struct Piece {
    const SpeechEngine::SampleConsumer* consumer;
    bool stopped = false;
};

int OnChunk(const cst_wave* wave, int start, int size, int, cst_audio_streaming_info* info) {
    Piece& piece = *static_cast<Piece*>(info->userdata);
    if (size > 0 && !(*piece.consumer)(std::span<const std::int16_t>(
                        wave->samples + start, static_cast<std::size_t>(size)))) {
        piece.stopped = true;
        return CST_AUDIO_STREAM_STOP;
    }
    return CST_AUDIO_STREAM_CONT;
}

const FliteVoice* Find(std::string_view identifier) {
    const auto* voice = std::ranges::find(kVoices, identifier, &FliteVoice::identifier);
    return voice == kVoices.end() ? nullptr : voice;
}

// Flite's voice, made on its first use and kept for the rest of the process, as Flite
// itself keeps what a voice loads; null when its library cannot be loaded. The libraries
// are loaded then, not with the program: together they hold some 150,000 relocations,
// which would cost every start of the program about 17 ms before its window shows, for
// voices it may never speak with. Its sound is streamed to OnChunk.
cst_voice* Registered(const FliteVoice& entry) {
    static std::array<cst_voice*, kVoices.size()> registered{};
    cst_voice*& voice = registered[static_cast<std::size_t>(&entry - kVoices.data())];
    if (voice)
        return voice;
    using RegisterVoice = cst_voice* (*)(const char* voxdir);
    void* library = dlopen(entry.library, RTLD_NOW | RTLD_LOCAL);
    const auto registerVoice =
        library ? reinterpret_cast<RegisterVoice>(dlsym(library, entry.entry)) : nullptr;
    if (registerVoice && (voice = registerVoice(nullptr))) {
        cst_audio_streaming_info* streaming = new_audio_streaming_info();
        streaming->asc = OnChunk;
        // The voice's features own the streaming settings from here on.
        feat_set(voice->features, "streaming_info", audio_streaming_info_val(streaming));
    }
    return voice;
}

// Where a long sentence is cut: after the first clause end past the shortest clause, if it
// comes before the longest piece, else at the first blank past the longest piece.
std::size_t CutOf(std::string_view sentence) {
    for (std::size_t at = kShortestClause; at + 1 < kLongestPiece; ++at) {
        const char c = sentence[at];
        if ((c == ',' || c == ';' || c == ':') && sentence[at + 1] == ' ')
            return at + 1;
    }
    return sentence.find(' ', kLongestPiece);
}

// The text in the pieces Flite speaks one at a time, together the whole text.
std::vector<std::string_view> PiecesOf(std::string_view text) {
    std::vector<std::string_view> pieces;
    for (const TextRun& sentence : TextRuns::Cut(text, 1)) {
        std::string_view rest = sentence.text;
        for (std::size_t cut; rest.size() > kLongestPiece && (cut = CutOf(rest)) < rest.size();
             rest.remove_prefix(cut))
            pieces.push_back(rest.substr(0, cut));
        pieces.push_back(rest);
    }
    return pieces;
}

bool Speak(cst_voice* voice, std::string_view text, const SpeechEngine::SampleConsumer& consumer) {
    Piece piece{&consumer};
    auto* streaming = val_audio_streaming_info(feat_val(voice->features, "streaming_info"));
    streaming->userdata = &piece;
    cst_utterance* utterance = flite_synth_text(std::string(text).c_str(), voice);
    streaming->userdata = nullptr;
    if (!utterance)
        return false;
    delete_utterance(utterance);
    return !piece.stopped;
}

} // namespace

FliteEngine::FliteEngine() {
    // Flite sets up its languages and lexicons once per process.
    static const int initialized = flite_init();
    static_cast<void>(initialized);
}

const std::vector<VoiceInfo>& FliteEngine::Voices() {
    static const std::vector<VoiceInfo> voices = [] {
        std::vector<VoiceInfo> list;
        for (const FliteVoice& voice : kVoices)
            list.push_back(
                {voice.identifier, voice.description, {"en-us", "en"}, voice.naturalness});
        return list;
    }();
    return voices;
}

int FliteEngine::SampleRate(std::string_view voiceIdentifier) const {
    const FliteVoice* voice = Find(voiceIdentifier);
    return voice ? voice->sampleRate : 0;
}

bool FliteEngine::Synthesize(std::string_view utf8Text, std::string_view voiceIdentifier,
                             const SampleConsumer& consumer) {
    const FliteVoice* entry = Find(voiceIdentifier);
    cst_voice* voice = entry ? Registered(*entry) : nullptr;
    if (!voice)
        return false;
    for (const TextRun& block : TextRuns::Cut(utf8Text, kBlockLength))
        for (const std::string_view piece : PiecesOf(block.text))
            if (!Speak(voice, piece, consumer))
                return false;
    return true;
}
