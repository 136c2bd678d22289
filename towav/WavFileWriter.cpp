#include "towav/WavFileWriter.h"

#include "runtime/speech/WavHeader.h"
#include "towav/AtomicFile.h"

#include <bit>

namespace {

// Samples are written in memory order, which must be the file's little-endian order.
static_assert(std::endian::native == std::endian::little);

// Samples are collected to about this many bytes before they go to the file.
constexpr std::size_t kFlushBytes = 1 << 20;

} // namespace

WavFileWriter::WavFileWriter(AtomicFile& file) : m_file(file), m_flushedBytes(WavHeader::kSize) {
    m_pending.reserve(kFlushBytes);
}

bool WavFileWriter::Append(std::span<const std::int16_t> samples) {
    const auto bytes = std::as_bytes(samples);
    if (bytes.size() > WavHeader::kMaxDataBytes - m_dataBytes) {
        m_error = "the speech is too long for one WAV file";
        return false;
    }
    const auto* first = reinterpret_cast<const std::uint8_t*>(bytes.data());
    m_pending.insert(m_pending.end(), first, first + bytes.size());
    m_dataBytes += static_cast<std::uint32_t>(bytes.size());
    return m_pending.size() < kFlushBytes || Flush();
}

bool WavFileWriter::Finish() {
    if (!Flush())
        return false;
    if (!m_file.WriteAt(0, WavHeader::For(m_dataBytes))) {
        m_error = m_file.Error();
        return false;
    }
    return true;
}

bool WavFileWriter::Flush() {
    if (!m_file.WriteAt(m_flushedBytes, m_pending)) {
        m_error = m_file.Error();
        return false;
    }
    m_flushedBytes += m_pending.size();
    m_pending.clear();
    return true;
}
