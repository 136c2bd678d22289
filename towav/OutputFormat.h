#pragma once

#include <cstdint>
#include <filesystem>
#include <string_view>

// A kind of sound file the converter writes, chosen by the extension of the output's name.
struct OutputFormat {
    // In lower case, with its dot.
    std::string_view extension;
    // libsndfile's container and encoding, or-ed together.
    int sndfileFormat;
    // The rate the file is written at; 0 keeps the synthesizer's rate.
    int sampleRate;
    // libsndfile's compression level (0 best quality .. 1 smallest), negative for its default.
    double compressionLevel;
    // libsndfile's bit rate mode, negative for its default.
    int bitrateMode;
    // The most samples the file can hold, 0 for no limit.
    std::uint64_t sampleLimit;

    // The format for the extension, in any case; WAV for any other extension or none.
    static const OutputFormat& ForPath(const std::filesystem::path& path);
};
