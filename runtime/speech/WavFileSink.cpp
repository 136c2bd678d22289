#include "runtime/speech/WavFileSink.h"

#include "runtime/speech/WavHeader.h"

namespace {

constexpr long kHeaderSize = static_cast<long>(WavHeader::kSize);

// An existing file is continued only when it is a WAV file of exactly our format whose
// sound data runs to its end: then the sizes in its header are all that changes.
bool HasOurFormat(std::FILE* file) {
    WavHeader::Bytes header{};
    return std::fseek(file, 0, SEEK_SET) == 0 &&
           std::fread(header.data(), 1, header.size(), file) == header.size() &&
           WavHeader::IsOurFormat(header);
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
            size - kHeaderSize > WavHeader::kMaxDataBytes)
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
    if (bytes > WavHeader::kMaxDataBytes - m_dataBytes)
        return false;
    // Samples are stored little-endian, which is this machine's order.
    if (std::fseek(m_file.get(), kHeaderSize + static_cast<long>(m_dataBytes), SEEK_SET) != 0 ||
        std::fwrite(samples.data(), 1, bytes, m_file.get()) != bytes)
        return false;
    m_dataBytes += static_cast<std::uint32_t>(bytes);
    return WriteHeader();
}

bool WavFileSink::WriteHeader() {
    const auto header = WavHeader::For(m_dataBytes);
    return std::fseek(m_file.get(), 0, SEEK_SET) == 0 &&
           std::fwrite(header.data(), 1, header.size(), m_file.get()) == header.size() &&
           std::fflush(m_file.get()) == 0;
}
