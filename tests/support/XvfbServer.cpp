#include "tests/support/XvfbServer.h"

XvfbServer::XvfbServer() {
    // Xvfb writes the display number it chose to the -displayfd descriptor once it accepts
    // connections, so the tests neither guess a free number nor race the server's start.
    // -noreset: by default the server resets when its last client leaves and refuses
    // connections meanwhile, which races the next test's connection.
    if (!m_server.Launch("Xvfb", {"-displayfd", "1", "-nolisten", "tcp", "-noreset", "-screen", "0",
                                  "1024x768x24"})) {
        m_problem = "Xvfb cannot be started (is xvfb installed?)";
        return;
    }
    while (!m_server.canReadLine() && m_server.waitForReadyRead(10000)) {
    }
    const QByteArray number = m_server.readLine().trimmed();
    if (number.isEmpty())
        m_problem = "Xvfb did not report a display";
    else
        m_display = ":" + number.toStdString();
}
