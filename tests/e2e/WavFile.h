#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// A RIFF WAV file as a player reads it: its header must be consistent with the file's size
// and describe PCM samples, and its data chunk must lie within the file.
class WavFile {
  public:
    explicit WavFile(const std::filesystem::path& path);

    bool IsValid() const { return m_problem.empty(); }
    // What makes the file invalid; empty for a valid one.
    const std::string& Problem() const { return m_problem; }

    int Channels() const { return m_channels; }
    int SampleRate() const { return m_sampleRate; }
    int BitsPerSample() const { return m_bitsPerSample; }
    const std::vector<std::int16_t>& Samples() const { return m_samples; }

  private:
    std::string Parse(const std::vector<unsigned char>& bytes);

    std::string m_problem;
    int m_channels = 0;
    int m_sampleRate = 0;
    int m_bitsPerSample = 0;
    std::vector<std::int16_t> m_samples;
};
