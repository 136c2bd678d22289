#pragma once

#include <QProcess>
#include <QString>

// A private Xvfb server on a display number it picks itself, stopped on destruction.
class XvfbDisplay {
  public:
    XvfbDisplay();
    XvfbDisplay(const XvfbDisplay&) = delete;
    XvfbDisplay& operator=(const XvfbDisplay&) = delete;
    ~XvfbDisplay();

    bool IsRunning() const { return !m_display.isEmpty(); }
    // The DISPLAY value, such as ":3"; empty when the server did not start.
    const QString& Display() const { return m_display; }

  private:
    QProcess m_server;
    QString m_display;
};
