#include "tests/e2e/SoundLevels.h"

#include <algorithm>
#include <cmath>

SoundLevels::SoundLevels(std::span<const std::int16_t> samples) {
    for (std::size_t start = 0; start + kWindowSamples <= samples.size(); start += kWindowSamples) {
        double sum = 0.0;
        for (const std::int16_t sample : samples.subspan(start, kWindowSamples))
            sum += static_cast<double>(sample) * sample;
        m_levels.push_back(std::sqrt(sum / kWindowSamples));
    }
}

std::optional<std::size_t> SoundLevels::FirstLoud(std::size_t from) const {
    for (std::size_t window = from; window < m_levels.size(); ++window)
        if (m_levels[window] >= kLoud)
            return window;
    return std::nullopt;
}

std::optional<std::size_t> SoundLevels::LastAudible() const {
    for (std::size_t window = m_levels.size(); window > 0; --window)
        if (m_levels[window - 1] >= kSilent)
            return window - 1;
    return std::nullopt;
}

std::size_t SoundLevels::LoudCount() const {
    return static_cast<std::size_t>(
        std::ranges::count_if(m_levels, [](double level) { return level >= kLoud; }));
}
