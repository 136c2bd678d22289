#include "runtime/speech/PcAudioSink.h"

#include <pcaudiolib/audio.h>

std::unique_ptr<PcAudioSink> PcAudioSink::Open() {
    audio_object* device = create_audio_device_object(nullptr, "murmelo", "Speech");
    if (!device)
        return nullptr;
    if (audio_object_open(device, AUDIO_OBJECT_FORMAT_S16LE, AudioSink::kSampleRate, 1) != 0) {
        audio_object_destroy(device);
        return nullptr;
    }
    return std::unique_ptr<PcAudioSink>(new PcAudioSink(device));
}

PcAudioSink::~PcAudioSink() {
    audio_object_close(m_device);
    audio_object_destroy(m_device);
}

bool PcAudioSink::Write(std::span<const std::int16_t> samples) {
    return audio_object_write(m_device, samples.data(), samples.size_bytes()) == 0;
}

void PcAudioSink::Drain() {
    audio_object_drain(m_device);
}

void PcAudioSink::Flush() {
    audio_object_flush(m_device);
}
