#pragma once

#include "tests/support/ChildProcess.h"
#include "tests/support/X11Windows.h"
#include "tests/support/XvfbServer.h"

#include <QThread>

#include <algorithm>

// A person's keyboard on a private X server: keys go, through xdotool and the XTEST
// extension, to whichever window has the input focus.
class Keyboard {
  public:
    explicit Keyboard(const std::string& display)
        : m_environment(QProcessEnvironment::systemEnvironment()) {
        m_environment.insert("DISPLAY", QString::fromStdString(display));
    }

    // Presses and releases each key in turn, such as "Tab", "shift+Tab", "alt+space".
    // True once the server has them; a single key has then only just been sent.
    bool Press(const std::vector<std::string>& keys) const {
        QStringList arguments{"key", "--delay", keys.size() == 1 ? "0" : kKeyDelayMs};
        for (const std::string& key : keys)
            arguments << QString::fromStdString(key);
        return Xdotool(arguments);
    }
    // Presses the keys one at a time, with the pause of a person who watches each take effect.
    bool PressOneByOne(const std::vector<std::string>& keys) const {
        return std::ranges::all_of(keys, [&](const std::string& key) {
            return Press({key}) && (QThread::msleep(500), true);
        });
    }
    // Types text character by character.
    bool Type(const std::string& text) const {
        return Xdotool({"type", "--delay", kKeyDelayMs, "--", QString::fromStdString(text)});
    }
    // Gives the window the input focus, as a click on it would.
    bool Focus(std::uint32_t window) const {
        return Xdotool({"windowfocus", "--sync", QString::number(window)});
    }

  private:
    // A pause between keys as a fast typist leaves, so that no key overtakes the reaction to
    // the one before it (a window that is still opening, for example). xdotool also pauses
    // after the last key, so a single key goes without one: when Press returns, the key has
    // only just been sent, and the tests can time the key press by that.
    static constexpr const char* kKeyDelayMs = "30";

    bool Xdotool(const QStringList& arguments) const {
        return OwnedProcess::Run("xdotool", arguments, m_environment).has_value();
    }

    QProcessEnvironment m_environment;
};

// A private X server with what a test needs on it: a client that looks at its windows and a
// keyboard that types on it (link test_support_x11).
struct PrivateDisplay {
    XvfbServer server;
    X11Windows windows{server.Display()};
    Keyboard keys{server.Display()};
};
