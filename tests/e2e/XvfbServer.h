#pragma once

#include "tests/e2e/SpawnedProcess.h"

#include <filesystem>
#include <memory>
#include <string>

// A private X server without a window manager, on a display number it picks itself.
class XvfbServer {
  public:
    // Starts the server and waits until it accepts connections; its messages go to log.
    explicit XvfbServer(const std::filesystem::path& log);

    bool IsRunning() const { return !m_display.empty(); }
    // The DISPLAY value, such as ":3"; empty when the server did not start.
    const std::string& Display() const { return m_display; }
    // Why the server is not running, for the test's skip notice.
    const std::string& Problem() const { return m_problem; }

  private:
    std::unique_ptr<SpawnedProcess> m_server;
    std::string m_display;
    std::string m_problem;
};
