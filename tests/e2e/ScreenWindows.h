#pragma once

#include "tests/e2e/Environment.h"

#include <chrono>
#include <optional>
#include <string>

// The windows on the private X server as a person sees them: shown or not, by title.
class ScreenWindows {
  public:
    explicit ScreenWindows(const std::string& display);

    // True when a window with exactly this title is on the screen.
    bool IsShown(const std::string& title) const;
    bool WaitUntilShown(const std::string& title, std::chrono::milliseconds limit) const;
    bool WaitUntilGone(const std::string& title, std::chrono::milliseconds limit) const;
    // The title of the window that has the keyboard focus; nothing when no window has it.
    std::optional<std::string> FocusedTitle() const;

  private:
    Environment m_environment;
};
