#pragma once

#include <cstddef>

// Turns the raw bytes of a text file into the text the program speaks, in place and one
// block at a time: a CR LF pair becomes LF, a Ctrl-Z byte ends the text, and '.', ',' and
// '$' are dropped. Line ends are judged on the raw bytes, so "\r.\n" keeps its CR.
class TextModeFilter {
  public:
    struct Result {
        std::size_t keptEnd = 0; // the kept bytes now fill [begin, keptEnd)
        bool crHeld = false;     // a final CR waits at keptEnd for the next block
        bool ended = false;      // a Ctrl-Z was met: the rest of the file does not count
    };

    // Filters buffer[begin, end). A CR that is the last byte of the block cannot be judged
    // yet: it is moved to keptEnd and reported as held, and the caller reads the next block
    // right behind it and filters again from keptEnd.
    static Result Apply(char* buffer, std::size_t begin, std::size_t end);
};
