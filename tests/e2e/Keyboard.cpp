#include "tests/e2e/Keyboard.h"

#include "tests/e2e/ToolRun.h"

namespace {

// A pause between keys as a fast typist leaves, so that no key overtakes the reaction to
// the one before it (a window that is still opening, for example). xdotool also pauses after
// the last key, so a single key goes without one: when Press returns, the key has only just
// been sent, and the tests can time the key press by that.
constexpr const char* kKeyDelayMs = "30";
constexpr const char* kNoDelay = "0";

} // namespace

Keyboard::Keyboard(const std::string& display)
    : m_environment(Environment::Inherited().Set("DISPLAY", display)) {}

bool Keyboard::Press(const std::vector<std::string>& keys) const {
    std::vector<std::string> arguments{"xdotool", "key", "--delay",
                                       keys.size() == 1 ? kNoDelay : kKeyDelayMs};
    arguments.insert(arguments.end(), keys.begin(), keys.end());
    return Run(std::move(arguments));
}

bool Keyboard::Type(const std::string& text) const {
    return Run({"xdotool", "type", "--delay", kKeyDelayMs, "--", text});
}

bool Keyboard::Run(std::vector<std::string> arguments) const {
    const std::optional<ToolResult> result = RunTool(arguments, m_environment);
    return result && result->exitCode == 0;
}
