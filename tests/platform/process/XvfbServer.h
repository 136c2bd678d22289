#pragma once

#include <string>
#include <sys/types.h>

// A private Xvfb server on a display number it picks itself, stopped on destruction.
class XvfbServer {
  public:
    XvfbServer();
    ~XvfbServer();
    XvfbServer(const XvfbServer&) = delete;
    XvfbServer& operator=(const XvfbServer&) = delete;

    bool running() const { return m_pid > 0; }
    // The DISPLAY value for the server, such as ":3".
    const std::string& display() const { return m_display; }
    // Why the server is not running, for a skipped test.
    const std::string& problem() const { return m_problem; }

  private:
    pid_t m_pid = 0;
    std::string m_display;
    std::string m_problem;
};
