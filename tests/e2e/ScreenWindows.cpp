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

bool ScreenWindows::IsShown(const std::string& title) const {
    // The search ignores case, so each match's own title is compared as well.
    const std::optional<ToolResult> result =
        RunTool({"xdotool", "search", "--onlyvisible", "--name", ExactPattern(title),
                 "getwindowname", "%@"},
                m_environment);
    if (!result || result->exitCode != 0)
        return false;
    std::istringstream lines(result->output);
    for (std::string line; std::getline(lines, line);)
        if (line == title)
            return true;
    return false;
}

bool ScreenWindows::WaitUntilShown(const std::string& title,
                                   std::chrono::milliseconds limit) const {
    return WaitUntil([&] { return IsShown(title); }, limit, std::chrono::milliseconds(50));
}

bool ScreenWindows::WaitUntilGone(const std::string& title, std::chrono::milliseconds limit) const {
    return WaitUntil([&] { return !IsShown(title); }, limit, std::chrono::milliseconds(50));
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
