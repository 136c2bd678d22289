#pragma once

#include "runtime/speech/Resampler.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>

class AtomicFile;
struct OutputFormat;
struct sf_private_tag;

// Writes mono 16-bit samples into a sound file of the given format with libsndfile,
// streaming them as they come, resampled first where the format needs another rate.
class SoundFileWriter {
  public:
    SoundFileWriter(AtomicFile& file, const OutputFormat& format, int sampleRate);
    ~SoundFileWriter();
    SoundFileWriter(const SoundFileWriter&) = delete;
    SoundFileWriter& operator=(const SoundFileWriter&) = delete;

    // False when libsndfile could not start the file; Error() says why.
    bool IsOpen() const { return m_sound != nullptr; }
    // False when the file cannot take the samples (a full disk, or more than the format
    // can hold); Error() says why.
    bool Append(std::span<const std::int16_t> samples);
    // Writes what the encoder and the resampler still hold, and the file's header.
    bool Finish();

    const std::string& Error() const { return m_error; }

  private:
    bool Write(std::span<const std::int16_t> samples);
    bool Fail(const std::string& what);

    AtomicFile& m_file;
    const OutputFormat& m_format;
    std::string m_name;
    sf_private_tag* m_sound = nullptr;
    std::unique_ptr<Resampler> m_resampler;
    std::uint64_t m_written = 0;
    std::uint64_t m_writtenBack = 0;
    std::string m_error;
};
