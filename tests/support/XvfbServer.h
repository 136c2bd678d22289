#pragma once

#include "tests/support/OwnedProcess.h"

#include <string>

// A private Xvfb server without a window manager, on a display number it picks itself,
// stopped on destruction.
class XvfbServer {
  public:
    XvfbServer();

    bool IsRunning() const { return !m_display.empty(); }
    // The DISPLAY value, such as ":3"; empty when the server did not start.
    const std::string& Display() const { return m_display; }
    // Why the server is not running, for a skipped test.
    const std::string& Problem() const { return m_problem; }

  private:
    OwnedProcess m_server{QProcessEnvironment::systemEnvironment()};
    std::string m_display;
    std::string m_problem;
};
