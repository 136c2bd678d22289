#include "runtime/speech/WavFileSink.h"

#include "runtime/speech/EspeakEngine.h"

#include <array>
#include <cstring>
#include <limits>

namespace {

constexpr long kHeaderSize = 44;
constexpr std::uint16_t kChannels = 1;
constexpr std::uint16_t kBitsPerSample = 16;
constexpr std::uint16_t kBlockAlign = kChannels * kBitsPerSample / 8;
constexpr std::uint32_t kByteRate = EspeakEngine::kSampleRate * kBlockAlign;

void Put16(std::uint8_t* at, std::uint16_t value) {
    at[0] = static_cast<std::uint8_t>(value);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void Put32(std::uint8_t* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::array<std::uint8_t, kHeaderSize> HeaderFor(std::uint32_t dataBytes) {
    std::array<std::uint8_t, kHeaderSize> header{};
    std::memcpy(&header[0], "RIFF", 4);
    Put32(&header[4], 36 + dataBytes);
    std::memcpy(&header[8], "WAVEfmt ", 8);
    Put32(&header[16], 16);
    Put16(&header[20], 1); // PCM
    Put16(&header[22], kChannels);
    Put32(&header[24], EspeakEngine::kSampleRate);
    Put32(&header[28], kByteRate);
    Put16(&header[32], kBlockAlign);
    Put16(&header[34], kBitsPerSample);
    std::memcpy(&header[36], "data", 4);
    Put32(&header[40], dataBytes);
    return header;
}

// An existing file is continued only when it is a WAV file of exactly our format whose
// sound data runs to its end: then the sizes in its header are all that changes.
bool HasOurFormat(std::FILE* file) {
    std::array<std::uint8_t, kHeaderSize> header{};
    if (std::fseek(file, 0, SEEK_SET) != 0 ||
        std::fread(header.data(), 1, header.size(), file) != header.size())
        return false;
    const auto expected = HeaderFor(0);
    const auto same = [&](std::size_t from, std::size_t to) {
        return std::memcmp(&header[from], &expected[from], to - from) == 0;
    };
    return same(0, 4) && same(8, 40);
}

} // namespace

std::unique_ptr<WavFileSink> WavFileSink::Open(const std::string& path) {
    File file(std::fopen(path.c_str(), "r+b"));
    if (!file)
        file.reset(std::fopen(path.c_str(), "w+b"));
    if (!file || std::fseek(file.get(), 0, SEEK_END) != 0)
        return nullptr;
    const long size = std::ftell(file.get());
    std::uint32_t dataBytes = 0;
    if (size > 0) {
        if (size < kHeaderSize || !HasOurFormat(file.get()) ||
            size - kHeaderSize > std::numeric_limits<std::uint32_t>::max() - 36)
            return nullptr;
        // Whole samples only: a torn last byte is overwritten by the next write.
        dataBytes = static_cast<std::uint32_t>(size - kHeaderSize) & ~1u;
    }
    std::unique_ptr<WavFileSink> sink(new WavFileSink(std::move(file), dataBytes));
    if (!sink->WriteHeader())
        return nullptr;
    return sink;
}

WavFileSink::WavFileSink(File file, std::uint32_t dataBytes)
    : PacedSink(Pacing::SoundCard), m_file(std::move(file)), m_dataBytes(dataBytes) {}

bool WavFileSink::Accept(std::span<const std::int16_t> samples) {
    const std::size_t bytes = samples.size_bytes();
    if (bytes > std::numeric_limits<std::uint32_t>::max() - 36 - m_dataBytes)
        return false;
    // Samples are stored little-endian, which is this machine's order.
    if (std::fseek(m_file.get(), kHeaderSize + static_cast<long>(m_dataBytes), SEEK_SET) != 0 ||
        std::fwrite(samples.data(), 1, bytes, m_file.get()) != bytes)
        return false;
    m_dataBytes += static_cast<std::uint32_t>(bytes);
    return WriteHeader();
}

bool WavFileSink::WriteHeader() {
    const auto header = HeaderFor(m_dataBytes);
    return std::fseek(m_file.get(), 0, SEEK_SET) == 0 &&
           std::fwrite(header.data(), 1, header.size(), m_file.get()) == header.size() &&
           std::fflush(m_file.get()) == 0;
}
