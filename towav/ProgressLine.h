#pragma once

#include <chrono>
#include <cstddef>
#include <string>

// One line on a terminal that tells how far the conversion is: percent done, time
// elapsed, time left. It writes only when standard error is a terminal (the dialog
// starts the converter without one), and it keeps its own copy of standard error, so it
// still reaches the terminal while the engine's notices are silenced.
class ProgressLine {
  public:
    explicit ProgressLine(std::size_t total);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // done of the total is finished.
    void Update(std::size_t done);
    // Takes the line away again, leaving the terminal as it was.
    void Clear();

  private:
    void Show(const std::string& line);

    int m_terminal = -1;
    std::size_t m_total;
    std::chrono::steady_clock::time_point m_start;
    std::chrono::steady_clock::time_point m_shown;
    bool m_visible = false;
};
