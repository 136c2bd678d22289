#include "runtime/speech/SpeechChannel.h"

#include <chrono>
#include <thread>

namespace {

constexpr int kOpenTries = 3;
constexpr std::chrono::milliseconds kFirstPause{50};

} // namespace

bool SpeechChannel::EnsureOpen() {
    {
        std::lock_guard lock(m_sinkMutex);
        if (!m_everOpened) {
            m_sink = m_opener();
            m_everOpened = m_sink != nullptr;
            return m_everOpened;
        }
    }
    return !TakeOutage();
}

bool SpeechChannel::TakeOutage() {
    std::lock_guard lock(m_sinkMutex);
    const bool untold = m_outage && !m_outageTold;
    m_outageTold = m_outageTold || m_outage;
    return untold;
}

std::shared_ptr<AudioSink> SpeechChannel::Reopen(unsigned generation) {
    auto pause = kFirstPause;
    for (int attempt = 0; attempt < kOpenTries && generation == m_generation.load(); ++attempt) {
        if (attempt > 0) {
            std::this_thread::sleep_for(pause);
            pause *= 2;
        }
        if (std::shared_ptr<AudioSink> sink = m_opener()) {
            std::lock_guard lock(m_sinkMutex);
            m_sink = sink;
            m_outage = false;
            m_outageTold = false;
            return sink;
        }
    }
    std::lock_guard lock(m_sinkMutex);
    m_outage = true;
    return nullptr;
}

void SpeechChannel::Drop(const std::shared_ptr<AudioSink>& failed) {
    std::lock_guard lock(m_sinkMutex);
    if (m_sink == failed)
        m_sink = nullptr;
}

std::shared_ptr<AudioSink> SpeechChannel::CurrentSink() {
    std::lock_guard lock(m_sinkMutex);
    return m_sink;
}

bool SpeechChannel::Write(std::span<const std::int16_t> samples, unsigned generation) {
    std::shared_ptr<AudioSink> sink = CurrentSink();
    if (!sink && m_everOpened)
        sink = Reopen(generation);
    std::lock_guard gate(m_writeGate);
    if (!sink || generation != m_generation.load())
        return false;
    const bool written = sink->Write(samples);
    // A write refused without a stop means the output itself failed.
    if (!written && generation == m_generation.load())
        Drop(sink);
    return written && generation == m_generation.load();
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
