#pragma once

#include "tests/e2e/PulseServer.h"
#include "tests/e2e/SpawnedProcess.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

// Records what the private sound server plays, from its null sink's monitor, into a raw
// file (22050 Hz, mono, signed 16-bit). The recording runs at the sound server's pace, so
// its sample count at a moment tells where that moment lies in the recording.
class SoundRecorder {
  public:
    static constexpr int kSampleRate = 22050;

    SoundRecorder(const PulseServer& server, const std::filesystem::path& file,
                  const std::filesystem::path& log);

    bool Started() const { return m_recorder && m_recorder->Started(); }
    // Waits until the first samples arrive, which takes the sound server up to a second or
    // two after the recorder's start.
    bool WaitUntilRecording(std::chrono::milliseconds limit) const {
        return WaitForSamples(1, limit);
    }
    // How many samples have been recorded so far.
    std::size_t SampleCount() const;
    std::vector<std::int16_t> Samples() const;
    // Waits until the recording holds at least count samples.
    bool WaitForSamples(std::size_t count, std::chrono::milliseconds limit) const;

  private:
    std::filesystem::path m_file;
    std::unique_ptr<SpawnedProcess> m_recorder;
};
