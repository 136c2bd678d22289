#include "runtime/speech/WavHeader.h"

#include "runtime/speech/AudioSink.h"

#include <cstring>

namespace {

constexpr std::uint16_t kChannels = 1;
constexpr std::uint16_t kBitsPerSample = 16;
constexpr std::uint16_t kBlockAlign = kChannels * kBitsPerSample / 8;
constexpr std::uint32_t kByteRate = AudioSink::kSampleRate * kBlockAlign;

void Put16(std::uint8_t* at, std::uint16_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

} // namespace

WavHeader::Bytes WavHeader::For(std::uint32_t dataBytes) {
    Bytes header{};
    std::memcpy(&header[0], "RIFF", 4);
    Put32(&header[4], 36 + dataBytes);
    std::memcpy(&header[8], "WAVEfmt ", 8);
    Put32(&header[16], 16);
    Put16(&header[20], 1); // PCM
    Put16(&header[22], kChannels);
    Put32(&header[24], AudioSink::kSampleRate);
    Put32(&header[28], kByteRate);
    Put16(&header[32], kBlockAlign);
    Put16(&header[34], kBitsPerSample);
    std::memcpy(&header[36], "data", 4);
    Put32(&header[40], dataBytes);
    return header;
}

bool WavHeader::IsOurFormat(std::span<const std::uint8_t, kSize> header) {
    // Everything but the two size fields (bytes 4..7 and 40..43) is fixed.
    const Bytes expected = For(0);
    const auto same = [&](std::size_t from, std::size_t to) {
        return std::memcmp(&header[from], &expected[from], to - from) == 0;
    };
    return same(0, 4) && same(8, 40);
}
