#include "runtime/speech/SpeechSynthesizer.h"

#include "runtime/speech/EspeakEngine.h"
#include "runtime/speech/SpeechLevels.h"
#include "runtime/speech/TimeStretcher.h"

#include <espeak-ng/speak_lib.h>

#include <cmath>
#include <string>

namespace {

// The synthesis in progress. eSpeak NG's callback is a plain function and eSpeak NG is
// global state that runs one synthesis at a time, so the callback finds its synthesis
// here.
struct Synthesis {
    TimeStretcher* stretcher;
    const SpeechSynthesizer::SampleConsumer* consumer;
    // Rate and volume that may change during the synthesis; null when fixed.
    const SpeechLevels* levels;
    bool stopped = false;
};
Synthesis* g_synthesis = nullptr;

int OnSamples(short* samples, int count, espeak_EVENT*) {
    Synthesis& synthesis = *g_synthesis;
    if (synthesis.stopped)
        return 1;
    if (synthesis.levels) {
        synthesis.stretcher->SetSpeed(SpeechSynthesizer::SpeedFactor(synthesis.levels->rate));
        synthesis.stretcher->SetVolume(synthesis.levels->volume);
    }
    if (samples && count > 0 &&
        !synthesis.stretcher->Feed(
            std::span<const std::int16_t>(samples, static_cast<std::size_t>(count)),
            *synthesis.consumer)) {
        synthesis.stopped = true;
        // Returning 1 makes eSpeak NG abandon the rest of the text straight away.
        return 1;
    }
    return 0;
}

} // namespace

SpeechSynthesizer::SpeechSynthesizer(EspeakEngine& engine) : m_engine(engine) {}

double SpeechSynthesizer::SpeedFactor(std::int32_t rate) {
    return std::pow(3.0, rate / 10.0);
}

bool SpeechSynthesizer::Synthesize(std::string_view utf8Text, const SpeechSettings& settings,
                                   const SampleConsumer& consumer) {
    return Run(utf8Text, settings, nullptr, consumer);
}

bool SpeechSynthesizer::Synthesize(std::string_view utf8Text, const SpeechSettings& settings,
                                   const SpeechLevels& levels, const SampleConsumer& consumer) {
    return Run(utf8Text, settings, &levels, consumer);
}

bool SpeechSynthesizer::Run(std::string_view utf8Text, const SpeechSettings& settings,
                            const SpeechLevels* levels, const SampleConsumer& consumer) {
    if (!m_engine.IsReady() || espeak_SetVoiceByName(settings.voiceIdentifier.c_str()) != EE_OK)
        return false;
    // eSpeak NG always speaks at its normal rate and amplitude; speed and volume are
    // applied to its samples, because its own rate setting has a floor and a jump.
    espeak_SetParameter(espeakRATE, espeakRATE_NORMAL, 0);
    espeak_SetSynthCallback(OnSamples);

    TimeStretcher stretcher(EspeakEngine::kSampleRate,
                            SpeedFactor(levels ? levels->rate.load() : settings.rate),
                            levels ? levels->volume.load() : settings.volume);
    Synthesis synthesis{&stretcher, &consumer, levels};
    g_synthesis = &synthesis;
    const std::string text(utf8Text);
    const espeak_ERROR result = espeak_Synth(text.c_str(), text.size() + 1, 0, POS_CHARACTER, 0,
                                             espeakCHARS_UTF8, nullptr, nullptr);
    g_synthesis = nullptr;
    if (synthesis.stopped || result != EE_OK)
        return false;
    return stretcher.Finish(consumer);
}

std::vector<std::int16_t> SpeechSynthesizer::SynthesizeAll(std::string_view utf8Text,
                                                           const SpeechSettings& settings) {
    std::vector<std::int16_t> samples;
    Synthesize(utf8Text, settings, [&](std::span<const std::int16_t> chunk) {
        samples.insert(samples.end(), chunk.begin(), chunk.end());
        return true;
    });
    return samples;
}
