#pragma once

#include "tests/e2e/SpawnedProcess.h"

#include <filesystem>
#include <memory>
#include <string>

// A private PulseAudio server whose one output is a null sink: what is played there can be
// recorded from the sink's monitor, and nothing reaches a loudspeaker.
class PulseServer {
  public:
    // The sink every client of this server plays to by default.
    static constexpr const char* kSinkName = "murmelo_e2e";

    // Starts the server with its runtime and home folders under folder and waits until it
    // accepts clients; its messages go to log.
    PulseServer(const std::filesystem::path& folder, const std::filesystem::path& log);

    bool IsRunning() const { return !m_address.empty(); }
    // The PULSE_SERVER value of this server; empty when it did not start.
    const std::string& Address() const { return m_address; }
    // The private XDG_RUNTIME_DIR, which clients may share as their own.
    const std::filesystem::path& RuntimeFolder() const { return m_runtimeFolder; }
    // Why the server is not running, for the test's skip notice.
    const std::string& Problem() const { return m_problem; }

  private:
    std::filesystem::path m_runtimeFolder;
    std::unique_ptr<SpawnedProcess> m_server;
    std::string m_address;
    std::string m_problem;
};
