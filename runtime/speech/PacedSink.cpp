#include "runtime/speech/PacedSink.h"

#include <algorithm>

namespace {

// How far ahead of the listener a sound card's buffer runs.
constexpr std::chrono::milliseconds kDeviceBuffer{100};

} // namespace

bool PacedSink::Write(std::span<const std::int16_t> samples) {
    std::unique_lock lock(m_mutex);
    if (m_pacing == Pacing::SoundCard) {
        const unsigned flushes = m_flushes;
        m_playedUntil = std::max(m_playedUntil, Clock::now());
        while (m_flushes == flushes && m_playedUntil - Clock::now() > kDeviceBuffer)
            m_changed.wait_until(lock, m_playedUntil - kDeviceBuffer);
        if (m_flushes != flushes)
            return false;
        m_playedUntil =
            std::max(m_playedUntil, Clock::now()) + AudioSink::PlayingTime(samples.size());
    }
    return Accept(samples);
}

void PacedSink::Drain() {
    std::unique_lock lock(m_mutex);
    const unsigned flushes = m_flushes;
    while (m_flushes == flushes && Clock::now() < m_playedUntil)
        m_changed.wait_until(lock, m_playedUntil);
}

void PacedSink::Flush() {
    {
        std::lock_guard lock(m_mutex);
        ++m_flushes;
        m_playedUntil = Clock::now();
    }
    m_changed.notify_all();
}
