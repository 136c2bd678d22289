#include "towav/SoundFileWriter.h"

#include "towav/AtomicFile.h"
#include "towav/OutputFormat.h"

#include <sndfile.h>

#include <algorithm>

namespace {

constexpr std::size_t kLargestWrite = 16384;
// A long text makes hundreds of megabytes; handed to the disk every few megabytes, they
// are written out while the voice speaks on instead of all at the commit.
constexpr std::uint64_t kWritebackSamples = 2 * 1024 * 1024;

} // namespace

SoundFileWriter::SoundFileWriter(AtomicFile& file, const OutputFormat& format, int sampleRate)
    : m_file(file), m_format(format), m_name(file.Target().string()) {
    SF_INFO info{};
    info.samplerate = format.sampleRate ? format.sampleRate : sampleRate;
    info.channels = 1;
    info.format = format.sndfileFormat;
    if (info.samplerate != sampleRate) {
        m_resampler = std::make_unique<Resampler>(sampleRate, info.samplerate);
        if (!m_resampler->IsReady()) {
            Fail("cannot resample to " + std::to_string(info.samplerate) + " Hz for " + m_name);
            return;
        }
    }
    // libsndfile writes through the file's descriptor and leaves it open for the commit.
    m_sound = sf_open_fd(file.Descriptor(), SFM_WRITE, &info, SF_FALSE);
    if (!m_sound) {
        Fail("cannot write " + m_name + ": " + sf_strerror(nullptr));
        return;
    }
    // Settings must come before the first sample; a refused one keeps libsndfile's default.
    if (int mode = format.bitrateMode; mode >= 0)
        sf_command(m_sound, SFC_SET_BITRATE_MODE, &mode, sizeof mode);
    if (double level = format.compressionLevel; level >= 0)
        sf_command(m_sound, SFC_SET_COMPRESSION_LEVEL, &level, sizeof level);
}

SoundFileWriter::~SoundFileWriter() {
    if (m_sound)
        sf_close(m_sound);
}

bool SoundFileWriter::Append(std::span<const std::int16_t> samples) {
    if (m_resampler)
        return m_resampler->Feed(samples, [this](auto resampled) { return Write(resampled); }) ||
               Fail("cannot resample for " + m_name);
    return Write(samples);
}

bool SoundFileWriter::Write(std::span<const std::int16_t> samples) {
    if (!m_error.empty())
        return false;
    m_written += samples.size();
    if (m_format.sampleLimit && m_written > m_format.sampleLimit)
        return Fail("the speech is longer than a " + std::string(m_format.extension.substr(1)) +
                    " file can hold");
    // Encoders take the samples in pieces: libvorbis overruns its buffers on a write of
    // minutes of sound at once.
    for (std::size_t at = 0; at < samples.size(); at += kLargestWrite) {
        const auto piece = samples.subspan(at, std::min(kLargestWrite, samples.size() - at));
        const auto count = static_cast<sf_count_t>(piece.size());
        if (sf_write_short(m_sound, piece.data(), count) != count)
            return Fail("cannot write " + m_name + ": " + sf_strerror(m_sound));
    }
    if (m_written - m_writtenBack >= kWritebackSamples) {
        m_file.StartWriteback();
        m_writtenBack = m_written;
    }
    return true;
}

bool SoundFileWriter::Finish() {
    if (m_resampler && !m_resampler->Finish([this](auto resampled) { return Write(resampled); }))
        return m_error.empty() ? Fail("cannot resample for " + m_name) : false;
    const int closed = sf_close(m_sound);
    m_sound = nullptr;
    if (closed != 0)
        return Fail("cannot write " + m_name + ": " + sf_error_number(closed));
    return m_error.empty();
}

bool SoundFileWriter::Fail(const std::string& what) {
    if (m_error.empty())
        m_error = what;
    return false;
}
