#pragma once

#include <cstdint>
#include <span>

// Where the runtime's sound goes: 22050 Hz mono 16-bit samples, played in the order they
// are written. Write and Drain run on the speech thread; Flush comes from whichever
// thread stops the speech, possibly while Write or Drain is blocked, and must release
// them promptly.
class AudioSink {
  public:
    // The one rate of the runtime's sound, whichever engine speaks.
    static constexpr int kSampleRate = 22050;

    virtual ~AudioSink() = default;

    // Queues samples for playing, blocking while the output's buffer is full, as a sound
    // card does. Returns false when the output failed or was flushed while waiting.
    virtual bool Write(std::span<const std::int16_t> samples) = 0;
    // Waits until everything written has been played, or the output is flushed.
    virtual void Drain() = 0;
    // Discards everything written but not yet played.
    virtual void Flush() = 0;
};
