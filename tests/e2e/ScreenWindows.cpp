#include "tests/e2e/ScreenWindows.h"

#include "tests/e2e/Polling.h"
#include "tests/e2e/ToolRun.h"

#include <sstream>
#include <string_view>

namespace {

// xdotool matches titles with an extended regular expression, ignoring case.
std::string ExactPattern(const std::string& title) {
    constexpr std::string_view kSpecial = R"(\.[]{}()*+?^$|)";
    std::string pattern = "^";
    for (const char c : title) {
        if (kSpecial.find(c) != std::string_view::npos)
            pattern += '\\';
        pattern += c;
    }
    return pattern + "$";
}

} // namespace

ScreenWindows::ScreenWindows(const std::string& display)
    : m_environment(Environment::Inherited().Set("DISPLAY", display)) {}

std::vector<std::string> ScreenWindows::Shown(const std::string& title) const {
    const std::optional<ToolResult> found = RunTool(
        {"xdotool", "search", "--onlyvisible", "--name", ExactPattern(title)}, m_environment);
    std::vector<std::string> windows;
    if (!found || found->exitCode != 0)
        return windows;
    // The search ignores case, so each match's own title is compared as well.
    std::istringstream lines(found->output);
    for (std::string window; std::getline(lines, window);) {
        const std::optional<ToolResult> name =
            RunTool({"xdotool", "getwindowname", window}, m_environment);
        if (name && name->exitCode == 0 && name->output == title + "\n")
            windows.push_back(window);
    }
    return windows;
}

bool ScreenWindows::WaitUntilShown(const std::string& title,
                                   std::chrono::milliseconds limit) const {
    return WaitUntil([&] { return IsShown(title); }, limit, std::chrono::milliseconds(50));
}

bool ScreenWindows::WaitUntilGone(const std::string& title, std::chrono::milliseconds limit) const {
    return WaitUntil([&] { return !IsShown(title); }, limit, std::chrono::milliseconds(50));
}

std::size_t ScreenWindows::ShownCount() const {
    const std::optional<ToolResult> result =
        RunTool({"xdotool", "search", "--onlyvisible", "--name", ""}, m_environment);
    if (!result || result->exitCode != 0)
        return 0;
    std::istringstream lines(result->output);
    std::size_t count = 0;
    for (std::string line; std::getline(lines, line);)
        ++count;
    return count;
}

bool ScreenWindows::WaitUntilMoreShown(std::size_t count, std::chrono::milliseconds limit) const {
    return WaitUntil([&] { return ShownCount() > count; }, limit, std::chrono::milliseconds(50));
}

std::optional<std::string> ScreenWindows::FocusedTitle() const {
    const std::optional<ToolResult> result =
        RunTool({"xdotool", "getwindowfocus", "getwindowname"}, m_environment);
    if (!result || result->exitCode != 0)
        return std::nullopt;
    std::string title = result->output;
    if (!title.empty() && title.back() == '\n')
        title.pop_back();
    return title;
}
