#pragma once

#include "tests/support/FileBytes.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

// What the header of a WAV file says, read back from the file's bytes.
struct WavFileInfo {
    std::uint16_t format = 0, channels = 0;
    std::uint32_t sampleRate = 0, byteRate = 0;
    std::uint16_t blockAlign = 0, bitsPerSample = 0;
    std::uint32_t dataBytes = 0;
    std::string samples; // as stored: 16-bit little-endian

    double Seconds() const { return static_cast<double>(dataBytes) / byteRate; }

    // Nothing unless the file is a RIFF/WAVE file of a "fmt " and a "data" chunk whose
    // sizes match the file's size.
    static std::optional<WavFileInfo> Read(const std::filesystem::path& path) {
        const std::string bytes = ReadFile(path);
        const auto get = [&](std::size_t at, int size) {
            std::uint32_t value = 0;
            for (int i = size - 1; i >= 0; --i)
                value = value << 8 | static_cast<unsigned char>(bytes[at + std::size_t(i)]);
            return value;
        };
        if (bytes.size() < 44 || bytes.compare(0, 4, "RIFF") != 0 ||
            get(4, 4) != bytes.size() - 8 || bytes.compare(8, 8, "WAVEfmt ") != 0 ||
            get(16, 4) != 16 || bytes.compare(36, 4, "data") != 0 ||
            get(40, 4) != bytes.size() - 44)
            return std::nullopt;
        const auto get16 = [&](std::size_t at) { return static_cast<std::uint16_t>(get(at, 2)); };
        return WavFileInfo{get16(20), get16(22), get(24, 4), get(28, 4),
                           get16(32), get16(34), get(40, 4), bytes.substr(44)};
    }
};
