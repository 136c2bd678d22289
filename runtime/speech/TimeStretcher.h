#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

struct sonicStreamStruct;

// Changes the speed of a stream of samples without changing its pitch (libsonic), then
// scales it to a volume. Samples go in as they are synthesized and come out as soon as
// the stretcher can give them.
class TimeStretcher {
  public:
    using Output = std::function<bool(std::span<const std::int16_t>)>;

    // speed: 1 keeps the duration, 3 plays three times as fast. volume: 0..100 percent.
    TimeStretcher(int sampleRate, double speed, int volume);
    ~TimeStretcher();
    TimeStretcher(const TimeStretcher&) = delete;
    TimeStretcher& operator=(const TimeStretcher&) = delete;

    // Take effect from the next samples fed; samples held back inside the stretcher are
    // also given out at the new speed.
    void SetSpeed(double speed);
    void SetVolume(int volume) { m_volume = volume; }

    // Passes every sample that is ready to output; returns false as soon as output does.
    bool Feed(std::span<const std::int16_t> samples, const Output& output);
    // Passes the samples still held back at the end of the stream.
    bool Finish(const Output& output);

  private:
    bool Drain(const Output& output);
    // Applies the volume to the buffer and passes it on.
    bool Scale(const Output& output);

    const int m_sampleRate;
    sonicStreamStruct* m_stream = nullptr;
    double m_speed = 1.0;
    int m_volume;
    std::vector<std::int16_t> m_buffer;
};
