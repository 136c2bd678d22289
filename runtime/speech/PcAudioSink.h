#pragma once

#include "runtime/speech/AudioSink.h"

#include <memory>

struct audio_object;

// The default sound device through pcaudiolib (PulseAudio, else ALSA).
class PcAudioSink final : public AudioSink {
  public:
    // Null when no sound output device can be opened.
    static std::unique_ptr<PcAudioSink> Open();
    ~PcAudioSink() override;
    PcAudioSink(const PcAudioSink&) = delete;
    PcAudioSink& operator=(const PcAudioSink&) = delete;

    bool Write(std::span<const std::int16_t> samples) override;
    void Drain() override;
    void Flush() override;
    bool PlaysAtSoundCardPace() const override { return true; }

  private:
    explicit PcAudioSink(audio_object* device) : m_device(device) {}

    audio_object* m_device;
};
