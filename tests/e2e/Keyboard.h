#pragma once

#include "tests/e2e/Environment.h"

#include <string>
#include <vector>

// A person's keyboard on the private X server: keys go, through xdotool and the XTEST
// extension, to whichever window has the input focus.
class Keyboard {
  public:
    explicit Keyboard(const std::string& display);

    // Presses and releases each key in turn, such as "Tab", "shift+Tab", "alt+space".
    // True once the server has them; a single key has then only just been sent.
    bool Press(const std::vector<std::string>& keys) const;
    // Types text character by character.
    bool Type(const std::string& text) const;

  private:
    bool Run(std::vector<std::string> arguments) const;

    Environment m_environment;
};
