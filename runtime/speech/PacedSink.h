#pragma once

#include "runtime/speech/AudioSink.h"

#include <chrono>
#include <condition_variable>
#include <mutex>

// Whether a sink without a sound card takes samples at the pace a sound card would play
// them, or as fast as they come.
enum class Pacing { SoundCard, None };

// A sink that stands in for a sound card: it keeps a short buffer of "playing" sound and
// lets Write block until the buffer has room, so queueing, draining and flushing behave
// as with a real device. Derived sinks decide what happens to the samples.
class PacedSink : public AudioSink {
  public:
    bool Write(std::span<const std::int16_t> samples) final;
    void Drain() final;
    void Flush() final;
    bool PlaysAtSoundCardPace() const final { return m_pacing == Pacing::SoundCard; }

  protected:
    explicit PacedSink(Pacing pacing) : m_pacing(pacing) {}

    // Takes samples that have entered the "device". Called with the sink's lock held, so
    // a flush never overtakes it.
    virtual bool Accept(std::span<const std::int16_t> samples) = 0;

  private:
    using Clock = std::chrono::steady_clock;

    const Pacing m_pacing;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    // When the sound accepted so far will have finished playing.
    Clock::time_point m_playedUntil;
    // Counts flushes, so that a waiting Write or Drain notices one.
    unsigned m_flushes = 0;
};
