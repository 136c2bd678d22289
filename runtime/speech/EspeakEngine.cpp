#include "runtime/speech/EspeakEngine.h"

#include <espeak-ng/speak_lib.h>

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

} // namespace

EspeakEngine::EspeakEngine() : m_ready(InitializeOnce()) {}
