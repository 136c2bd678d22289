#pragma once

#include <array>
#include <cstdint>
#include <limits>
#include <span>

// The 44-byte header of a WAV file in the one format the speech runtime and the converter
// write: PCM, 22050 Hz, mono, 16-bit, the sound data running to the end of the file.
class WavHeader {
  public:
    static constexpr std::size_t kSize = 44;
    // The most sound data one file can hold: the RIFF size field counts the data and the
    // 36 header bytes after it in 32 bits.
    static constexpr std::uint32_t kMaxDataBytes = std::numeric_limits<std::uint32_t>::max() - 36;

    using Bytes = std::array<std::uint8_t, kSize>;

    // The header of a file holding dataBytes bytes of sound data.
    static Bytes For(std::uint32_t dataBytes);
    // True when header describes our format, whatever its sizes.
    static bool IsOurFormat(std::span<const std::uint8_t, kSize> header);
};
