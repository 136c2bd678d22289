#pragma once

#include "tests/support/ChildProcess.h"

// A private Xvfb server without a window manager, on a display number it picks itself,
// stopped on destruction.
class XvfbServer {
  public:
    XvfbServer() {
        // Xvfb writes the display number it chose to the -displayfd descriptor once it accepts
        // connections, so the tests neither guess a free number nor race the server's start.
        // -noreset: by default the server resets when its last client leaves and refuses
        // connections meanwhile, which races the next test's connection.
        if (m_server.Launch("Xvfb", {"-displayfd", "1", "-nolisten", "tcp", "-noreset", "-screen",
                                     "0", "1024x768x24"}))
            while (!m_server.canReadLine() && m_server.waitForReadyRead(10000)) {
            }
        const QByteArray number = m_server.readLine().trimmed();
        if (!number.isEmpty())
            m_display = ":" + number.toStdString();
    }

    bool IsRunning() const { return !m_display.empty(); }
    // The DISPLAY value, such as ":3"; empty when the server did not start.
    const std::string& Display() const { return m_display; }
    // Why the server is not running, for a skipped test.
    static std::string Problem() { return "Xvfb did not start (is xvfb installed?)"; }

  private:
    OwnedProcess m_server{QProcessEnvironment::systemEnvironment()};
    std::string m_display;
};
