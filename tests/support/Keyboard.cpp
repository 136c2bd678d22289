#include "tests/support/Keyboard.h"

#include "tests/support/OwnedProcess.h"

namespace {

// A pause between keys as a fast typist leaves, so that no key overtakes the reaction to
// the one before it (a window that is still opening, for example). xdotool also pauses after
// the last key, so a single key goes without one: when Press returns, the key has only just
// been sent, and the tests can time the key press by that.
constexpr const char* kKeyDelayMs = "30";

} // namespace

Keyboard::Keyboard(const std::string& display)
    : m_environment(QProcessEnvironment::systemEnvironment()) {
    m_environment.insert("DISPLAY", QString::fromStdString(display));
}

bool Keyboard::Press(const std::vector<std::string>& keys) const {
    QStringList arguments{"key", "--delay", keys.size() == 1 ? "0" : kKeyDelayMs};
    for (const std::string& key : keys)
        arguments << QString::fromStdString(key);
    return Xdotool(arguments);
}

bool Keyboard::Type(const std::string& text) const {
    return Xdotool({"type", "--delay", kKeyDelayMs, "--", QString::fromStdString(text)});
}

bool Keyboard::Focus(std::uint32_t window) const {
    return Xdotool({"windowfocus", "--sync", QString::number(window)});
}

bool Keyboard::Xdotool(const QStringList& arguments) const {
    return OwnedProcess::Run("xdotool", arguments, m_environment).has_value();
}
