#include "runtime/speech/MemorySink.h"

std::vector<std::int16_t> MemorySink::Samples() const {
    std::lock_guard lock(m_mutex);
    return m_samples;
}

std::size_t MemorySink::SampleCount() const {
    std::lock_guard lock(m_mutex);
    return m_samples.size();
}

std::optional<MemorySink::Clock::time_point> MemorySink::FirstArrival() const {
    std::lock_guard lock(m_mutex);
    return m_firstArrival;
}

std::optional<MemorySink::Clock::time_point> MemorySink::LastArrival() const {
    std::lock_guard lock(m_mutex);
    return m_lastArrival;
}

void MemorySink::Clear() {
    std::lock_guard lock(m_mutex);
    m_samples.clear();
    m_firstArrival.reset();
    m_lastArrival.reset();
}

bool MemorySink::Accept(std::span<const std::int16_t> samples) {
    const Clock::time_point now = Clock::now();
    std::lock_guard lock(m_mutex);
    if (!m_firstArrival)
        m_firstArrival = now;
    m_lastArrival = now;
    m_samples.insert(m_samples.end(), samples.begin(), samples.end());
    return true;
}
