#pragma once

#include "tests/e2e/Environment.h"

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// The windows on the private X server as a person sees them: shown or not, by title.
class ScreenWindows {
  public:
    explicit ScreenWindows(const std::string& display);

    // The windows on the screen with exactly this title, by X window id.
    std::vector<std::string> Shown(const std::string& title) const;
    bool IsShown(const std::string& title) const { return !Shown(title).empty(); }
    bool WaitUntilShown(const std::string& title, std::chrono::milliseconds limit) const;
    bool WaitUntilGone(const std::string& title, std::chrono::milliseconds limit) const;
    // How many windows are on the screen, titled or not (a menu has no title of its own).
    std::size_t ShownCount() const;
    // Waits until more than count windows are on the screen.
    bool WaitUntilMoreShown(std::size_t count, std::chrono::milliseconds limit) const;
    // The title of the window that has the keyboard focus; nothing when no window has it.
    std::optional<std::string> FocusedTitle() const;

  private:
    Environment m_environment;
};
