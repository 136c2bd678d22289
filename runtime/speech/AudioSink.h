#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>

// Where the runtime's sound goes: 22050 Hz mono 16-bit samples, played in the order they
// are written. Every call comes from one thread, the voice's player, one after another:
// sound libraries do not all allow a flush while another thread writes.
class AudioSink {
  public:
    // The one rate of the runtime's sound, whichever engine speaks.
    static constexpr int kSampleRate = 22050;

    // How long a number of samples plays.
    static std::chrono::steady_clock::duration PlayingTime(std::size_t sampleCount) {
        return std::chrono::duration_cast<std::chrono::steady_clock::duration>(
            std::chrono::duration<double>(static_cast<double>(sampleCount) / kSampleRate));
    }

    virtual ~AudioSink() = default;

    // Queues samples for playing, blocking while the output's buffer is full, as a sound
    // card does. Returns false when the output failed.
    virtual bool Write(std::span<const std::int16_t> samples) = 0;
    // Waits until everything written has been played.
    virtual void Drain() = 0;
    // Discards everything written but not yet played.
    virtual void Flush() = 0;
    // Whether written sound plays on the clock, as on a sound card, rather than being
    // taken as fast as it comes.
    virtual bool PlaysAtSoundCardPace() const = 0;
};
