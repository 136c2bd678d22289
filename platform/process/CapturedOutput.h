#pragma once

#include <string>

// Keeps what a started program writes to one of its streams, in an unnamed file in memory:
// the program never waits for us to read, however much it writes and however long it runs.
class CapturedOutput {
  public:
    CapturedOutput();
    CapturedOutput(const CapturedOutput&) = delete;
    CapturedOutput& operator=(const CapturedOutput&) = delete;
    ~CapturedOutput();

    // The descriptor the program's stream is to be joined to; -1 when none could be made.
    int Descriptor() const { return m_fd; }

    // The last line written that is not blank, without its line end; empty when there is
    // none. Only the output's tail is read, so a flood of output costs nothing here.
    std::string LastLine() const;

  private:
    int m_fd = -1;
};
