#pragma once

#include "tests/support/ChildProcess.h"

// A private PulseAudio server whose one output is a null sink, recorded from its monitor into
// a raw file (22050 Hz, mono, signed 16-bit) from the start: nothing reaches a loudspeaker,
// and the recording runs at the server's pace, so its sample count at a moment tells where
// that moment lies in it. Everything lives in the given folder; messages go to its logs.
class SoundServer {
  public:
    static constexpr int kSampleRate = 22050;

    explicit SoundServer(const std::filesystem::path& folder);

    bool IsRunning() const { return m_problem.empty(); }
    // Why the server or its recording is not running, for the test's skip notice.
    const std::string& Problem() const { return m_problem; }
    // What a client needs to play to this server (PULSE_SERVER and its runtime folder).
    QProcessEnvironment ClientVariables() const;
    // Ends the server and starts it again at the same address, as PulseAudio does when a
    // headset comes or goes; the recording starts anew as well.
    bool Restart();

    // How many samples have been recorded so far, and all of them.
    std::size_t SampleCount() const;
    std::vector<std::int16_t> Samples() const;

  private:
    std::filesystem::path m_folder;
    std::filesystem::path m_socket;
    std::unique_ptr<OwnedProcess> m_server;
    std::unique_ptr<OwnedProcess> m_recorder;
    std::string m_problem;
};
