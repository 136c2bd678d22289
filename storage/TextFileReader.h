#pragma once

#include <optional>
#include <string>

// Reads a text file into wide text for speaking: the file's bytes pass the text-mode filter
// (see TextModeFilter) and are converted from the ANSI code page up to the first NUL.
// Reports on standard output "Open file <path> failed!" when the file cannot be read and
// "<n> char to be conerted......" with the number of kept bytes otherwise.
//
// A path that is not a regular file (a folder, a FIFO, a device) counts as a file that
// cannot be opened, and reading it never blocks. So does a file too large to hold: one of
// more bytes than an int counts, or one whose text does not fit in memory.
class TextFileReader {
  public:
    // False only when the file cannot be opened or read. The wide text is set only when at
    // least one byte was kept; otherwise it is left as it was.
    static bool Read(const char* path, std::optional<std::u16string>& wideText);
};
