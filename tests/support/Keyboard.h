#pragma once

#include <QProcessEnvironment>

#include <cstdint>
#include <string>
#include <vector>

// A person's keyboard on a private X server: keys go, through xdotool and the XTEST
// extension, to whichever window has the input focus.
class Keyboard {
  public:
    explicit Keyboard(const std::string& display);

    // Presses and releases each key in turn, such as "Tab", "shift+Tab", "alt+space".
    // True once the server has them; a single key has then only just been sent.
    bool Press(const std::vector<std::string>& keys) const;
    // Types text character by character.
    bool Type(const std::string& text) const;
    // Gives the window the input focus, as a click on it would.
    bool Focus(std::uint32_t window) const;

  private:
    bool Xdotool(const QStringList& arguments) const;

    QProcessEnvironment m_environment;
};
