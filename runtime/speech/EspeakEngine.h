#pragma once

#include "runtime/speech/SpeechEngine.h"

class VoiceCheckCache;

// eSpeak NG, initialised for synchronous synthesis through a callback. eSpeak NG keeps
// global state, so only one engine object may exist at a time, used from one thread at a
// time: the thread that created it.
//
// eSpeak NG is initialised on the first engine of the process and stays initialised after
// the engine is gone. Shutting it down is not safe: espeak_Terminate waits for eSpeak NG's
// internal thread, which misses the signal and hangs forever when the shutdown follows the
// start-up closely.
class EspeakEngine final : public SpeechEngine {
  public:
    // The sample rate every eSpeak NG voice synthesizes at.
    static constexpr int kSampleRate = 22050;

    EspeakEngine();
    EspeakEngine(const EspeakEngine&) = delete;
    EspeakEngine& operator=(const EspeakEngine&) = delete;

    // False when eSpeak NG could not start (its data is missing, for example).
    bool IsReady() const override { return m_ready; }
    // Checked once per process, with the check's result kept in the user's cache folder.
    const std::vector<VoiceInfo>& Voices() override;
    int SampleRate(std::string_view) const override { return kSampleRate; }
    bool Synthesize(std::string_view utf8Text, std::string_view voiceIdentifier,
                    const SampleConsumer& consumer) override;

    // The voices that pass the check, in eSpeak NG's order: the cache's list when it was
    // stored for the installed eSpeak NG, else a fresh check, which is then stored. The
    // engine must be ready.
    static std::vector<VoiceInfo> CheckedVoices(const VoiceCheckCache& cache);

  private:
    bool m_ready = false;
};
