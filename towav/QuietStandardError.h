#pragma once

// Sends the process's standard error to /dev/null while it lives. eSpeak NG prints
// notices there ("Full dictionary is not installed for ...") that say nothing to a user of
// the converter, whose own messages are written after this is gone.
class QuietStandardError {
  public:
    QuietStandardError();
    ~QuietStandardError();
    QuietStandardError(const QuietStandardError&) = delete;
    QuietStandardError& operator=(const QuietStandardError&) = delete;

  private:
    // The real standard error, restored at the end; -1 when it was left alone.
    int m_saved = -1;
};
