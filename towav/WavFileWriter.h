#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class AtomicFile;

// Writes 22050 Hz mono 16-bit samples as a WAV file, streaming them to the file as they
// come and filling in the sizes of the header at the end.
class WavFileWriter {
  public:
    explicit WavFileWriter(AtomicFile& file);

    // False when the file cannot take the samples (a full disk, or more than a WAV file
    // can hold); Error() says why.
    bool Append(std::span<const std::int16_t> samples);
    // Writes what is still buffered and the final header.
    bool Finish();

    const std::string& Error() const { return m_error; }

  private:
    bool Flush();

    AtomicFile& m_file;
    std::vector<std::uint8_t> m_pending;
    std::uint64_t m_flushedBytes = 0;
    std::uint32_t m_dataBytes = 0;
    std::string m_error;
};
