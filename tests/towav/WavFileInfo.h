#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

// What the header of a WAV file says, read back from the file's bytes.
struct WavFileInfo {
    std::uint16_t format = 0;
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint32_t byteRate = 0;
    std::uint16_t blockAlign = 0;
    std::uint16_t bitsPerSample = 0;
    std::uint32_t dataBytes = 0;
    std::string samples;

    double Seconds() const { return static_cast<double>(dataBytes) / byteRate; }

    // Nothing unless the file is a RIFF/WAVE file of a "fmt " and a "data" chunk whose
    // sizes match the file's size.
    static std::optional<WavFileInfo> Read(const std::filesystem::path& path);
};
