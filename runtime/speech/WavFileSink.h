#pragma once

#include "runtime/speech/PacedSink.h"

#include <cstdio>
#include <memory>
#include <string>

// Appends the sound to one WAV file (22050 Hz, mono, 16-bit) at the pace of a sound card.
// The header is brought up to date after every write, so the file can be read at any
// moment. An existing file in the same format is continued; a missing or empty one is
// created.
class WavFileSink final : public PacedSink {
  public:
    // Null when the file cannot be opened or holds something other than such a WAV file,
    // which is left untouched.
    static std::unique_ptr<WavFileSink> Open(const std::string& path);

  private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    using File = std::unique_ptr<std::FILE, FileCloser>;

    WavFileSink(File file, std::uint32_t dataBytes);
    bool Accept(std::span<const std::int16_t> samples) override;
    bool WriteHeader();

    File m_file;
    std::uint32_t m_dataBytes;
};
