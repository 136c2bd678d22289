#pragma once

#include <sndfile.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

// A sound file as libsndfile reads it back: its format, channels, rate and every sample as
// 16-bit, channels interleaved (link PkgConfig::SNDFILE).
struct SoundFile {
    int format = 0, channels = 0, sampleRate = 0;
    std::vector<std::int16_t> samples;

    double Seconds() const { return static_cast<double>(samples.size()) / channels / sampleRate; }

    // Nothing when the file is not a sound file or holds fewer samples than its header says.
    static std::optional<SoundFile> Read(const std::filesystem::path& path) {
        SF_INFO info{};
        SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
        if (!file)
            return std::nullopt;
        SoundFile sound{info.format, info.channels, info.samplerate,
                        std::vector<std::int16_t>(std::size_t(info.frames * info.channels))};
        const sf_count_t read =
            sf_read_short(file, sound.samples.data(), sf_count_t(sound.samples.size()));
        sf_close(file);
        return read == sf_count_t(sound.samples.size()) ? std::optional(sound) : std::nullopt;
    }
};
