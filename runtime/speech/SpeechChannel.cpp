#include "runtime/speech/SpeechChannel.h"

bool SpeechChannel::EnsureOpen() {
    std::lock_guard lock(m_sinkMutex);
    if (!m_sink)
        m_sink = m_opener();
    return m_sink != nullptr;
}

std::shared_ptr<AudioSink> SpeechChannel::CurrentSink() {
    std::lock_guard lock(m_sinkMutex);
    return m_sink;
}

bool SpeechChannel::Write(std::span<const std::int16_t> samples, unsigned generation) {
    const std::shared_ptr<AudioSink> sink = CurrentSink();
    std::lock_guard gate(m_writeGate);
    if (!sink || generation != m_generation.load())
        return false;
    return sink->Write(samples) && generation == m_generation.load();
}

void SpeechChannel::Drain(unsigned generation) {
    const std::shared_ptr<AudioSink> sink = CurrentSink();
    if (sink && generation == m_generation.load())
        sink->Drain();
}

void SpeechChannel::Interrupt() {
    ++m_generation;
    const std::shared_ptr<AudioSink> sink = CurrentSink();
    if (!sink)
        return;
    // The first flush releases a write blocked on a full buffer. A write that passed the
    // generation check just before the stop may still put one chunk into the output, so
    // wait for it to finish and flush once more.
    sink->Flush();
    { std::lock_guard gate(m_writeGate); }
    sink->Flush();
}
