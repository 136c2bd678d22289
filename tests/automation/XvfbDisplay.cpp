#include "tests/automation/XvfbDisplay.h"

XvfbDisplay::XvfbDisplay() {
    // Xvfb writes the display number it chose to the -displayfd descriptor once it accepts
    // connections, so the tests neither guess a free number nor race the server's start.
    m_server.start(QStringLiteral("Xvfb"),
                   {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-nolisten"),
                    QStringLiteral("tcp"), QStringLiteral("-screen"), QStringLiteral("0"),
                    QStringLiteral("1024x768x24")});
    if (!m_server.waitForStarted())
        return;
    while (!m_server.canReadLine()) {
        if (!m_server.waitForReadyRead(10000))
            return;
    }
    bool number = false;
    const int display = m_server.readLine().trimmed().toInt(&number);
    if (number)
        m_display = QStringLiteral(":%1").arg(display);
}

XvfbDisplay::~XvfbDisplay() {
    if (m_server.state() != QProcess::NotRunning) {
        m_server.terminate();
        m_server.waitForFinished();
    }
}
