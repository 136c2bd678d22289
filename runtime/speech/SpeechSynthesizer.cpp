#include "runtime/speech/SpeechSynthesizer.h"

#include "runtime/speech/AudioSink.h"
#include "runtime/speech/Resampler.h"
#include "runtime/speech/SpeechEngines.h"
#include "runtime/speech/SpeechLevels.h"
#include "runtime/speech/TimeStretcher.h"
#include "runtime/speech/WideTextPieces.h"

#include <cmath>
#include <memory>

SpeechSynthesizer::SpeechSynthesizer(SpeechEngines& engines) : m_engines(engines) {}

double SpeechSynthesizer::SpeedFactor(std::int32_t rate) {
    return std::pow(3.0, rate / 10.0);
}

bool SpeechSynthesizer::Synthesize(std::string_view utf8Text, const SpeechSettings& settings,
                                   const SampleConsumer& consumer) {
    bool taken = false;
    return Run(
        [&] {
            const std::string_view piece = taken ? std::string_view() : utf8Text;
            taken = true;
            return piece;
        },
        settings, nullptr, consumer);
}

bool SpeechSynthesizer::Synthesize(WideTextPieces& text, const SpeechSettings& settings,
                                   const SpeechLevels& levels, const SampleConsumer& consumer) {
    return Run([&] { return text.Next(); }, settings, &levels, consumer);
}

bool SpeechSynthesizer::Run(const PieceSource& nextPiece, const SpeechSettings& settings,
                            const SpeechLevels* levels, const SampleConsumer& consumer) {
    SpeechEngine* engine = m_engines.For(settings.voiceIdentifier);
    if (!engine)
        return false;
    const int engineRate = engine->SampleRate(settings.voiceIdentifier);
    std::unique_ptr<Resampler> resampler;
    if (engineRate != AudioSink::kSampleRate) {
        resampler = std::make_unique<Resampler>(engineRate, AudioSink::kSampleRate);
        if (!resampler->IsReady())
            return false;
    }
    TimeStretcher stretcher(AudioSink::kSampleRate,
                            SpeedFactor(levels ? levels->rate.load() : settings.rate),
                            levels ? levels->volume.load() : settings.volume);
    const TimeStretcher::Output stretch = [&](std::span<const std::int16_t> samples) {
        // Speed and volume are read at every piece of sound, so a change is heard at once.
        if (levels) {
            stretcher.SetSpeed(SpeedFactor(levels->rate));
            stretcher.SetVolume(levels->volume);
        }
        return stretcher.Feed(samples, consumer);
    };
    const SampleConsumer take = [&](std::span<const std::int16_t> samples) {
        return resampler ? resampler->Feed(samples, stretch) : stretch(samples);
    };
    // The pieces go through one resampler and one stretcher, so they join without a seam.
    for (std::string_view piece = nextPiece(); !piece.empty(); piece = nextPiece())
        if (!engine->Synthesize(piece, settings.voiceIdentifier, take))
            return false;
    return (!resampler || resampler->Finish(stretch)) && stretcher.Finish(consumer);
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
