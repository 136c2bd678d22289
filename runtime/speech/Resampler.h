#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

struct soxr;

// Converts a stream of mono 16-bit samples from one rate to another (libsoxr, high
// quality). Samples go in as they come and come out as soon as the filter has them.
class Resampler {
  public:
    using Output = std::function<bool(std::span<const std::int16_t>)>;

    Resampler(int inputRate, int outputRate);
    ~Resampler();
    Resampler(const Resampler&) = delete;
    Resampler& operator=(const Resampler&) = delete;

    // False when libsoxr could not set up the conversion.
    bool IsReady() const { return m_soxr != nullptr; }
    // Passes every converted sample to output; false as soon as output or libsoxr fails.
    bool Feed(std::span<const std::int16_t> samples, const Output& output);
    // Passes the samples the filter still holds at the end of the stream.
    bool Finish(const Output& output);

  private:
    soxr* m_soxr = nullptr;
    double m_ratio;
    std::vector<std::int16_t> m_buffer;
};
