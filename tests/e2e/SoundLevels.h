#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// The loudness of a recording, as the root mean square of each 10 ms window, and what a
// listener would notice in it: where sound is, and where it is silent.
class SoundLevels {
  public:
    static constexpr std::size_t kWindowSamples = 220; // 10 ms at 22050 Hz
    // Speech is well above this; a quiet syllable may lie below it.
    static constexpr double kLoud = 200.0;
    // Below this a window holds no sound a person could hear (the null sink gives zeros).
    static constexpr double kSilent = 16.0;

    explicit SoundLevels(std::span<const std::int16_t> samples);

    std::size_t WindowCount() const { return m_levels.size(); }
    double Level(std::size_t window) const { return m_levels.at(window); }
    // The window holding sample index sample.
    static std::size_t WindowOf(std::size_t sample) { return sample / kWindowSamples; }
    static double Milliseconds(std::size_t windows) { return 10.0 * static_cast<double>(windows); }

    // The first loud window at or after from.
    std::optional<std::size_t> FirstLoud(std::size_t from = 0) const;
    // The last window that is not silent.
    std::optional<std::size_t> LastAudible() const;
    // How many windows are loud: the length of the speech without its pauses.
    std::size_t LoudCount() const;

  private:
    std::vector<double> m_levels;
};
