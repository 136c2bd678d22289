#pragma once

#include "runtime/speech/PacedSink.h"

#include <chrono>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

// Keeps the sound in memory, with the time each piece arrived, so tests and benchmarks can
// look at what was played and when.
class MemorySink final : public PacedSink {
  public:
    using Clock = std::chrono::steady_clock;

    explicit MemorySink(Pacing pacing) : PacedSink(pacing) {}

    std::vector<std::int16_t> Samples() const;
    std::size_t SampleCount() const;
    std::optional<Clock::time_point> FirstArrival() const;
    std::optional<Clock::time_point> LastArrival() const;
    void Clear();

  private:
    bool Accept(std::span<const std::int16_t> samples) override;

    mutable std::mutex m_mutex;
    std::vector<std::int16_t> m_samples;
    std::optional<Clock::time_point> m_firstArrival;
    std::optional<Clock::time_point> m_lastArrival;
};
