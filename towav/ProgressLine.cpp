#include "towav/ProgressLine.h"

#include <fcntl.h>
#include <string>
#include <unistd.h>

namespace {

// Often enough to look alive, seldom enough not to flicker.
constexpr std::chrono::milliseconds kInterval(250);

std::string Clock(std::chrono::steady_clock::duration duration) {
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(duration).count();
    const std::string second = std::to_string(seconds % 60);
    return std::to_string(seconds / 60) + (second.size() < 2 ? ":0" : ":") + second;
}

} // namespace

ProgressLine::ProgressLine(std::size_t total)
    : m_total(total), m_start(std::chrono::steady_clock::now()), m_shown(m_start) {
    if (isatty(STDERR_FILENO))
        m_terminal = fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 0);
}

ProgressLine::~ProgressLine() {
    Clear();
    if (m_terminal >= 0)
        close(m_terminal);
}

void ProgressLine::Update(std::size_t done) {
    const auto now = std::chrono::steady_clock::now();
    if (m_terminal < 0 || m_total == 0 || done == 0 || now - m_shown < kInterval)
        return;
    m_shown = now;
    const auto elapsed = now - m_start;
    const auto left = elapsed * static_cast<double>(m_total - done) / static_cast<double>(done);
    Show(std::to_string(done * 100 / m_total) + "% done, " + Clock(elapsed) + " elapsed, " +
         Clock(std::chrono::duration_cast<std::chrono::steady_clock::duration>(left)) + " left");
}

void ProgressLine::Clear() {
    if (m_visible)
        Show("");
    m_visible = false;
}

void ProgressLine::Show(const std::string& line) {
    // A carriage return goes back to the line's start, and erasing to its end removes
    // what a longer line before left there.
    const std::string text = "\r" + (line.empty() ? line : "towav.exe: " + line) + "\033[K";
    m_visible = !line.empty();
    [[maybe_unused]] const ssize_t written = write(m_terminal, text.data(), text.size());
}
