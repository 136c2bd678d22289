#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

// A stretch of the text that can be synthesized on its own. Runs begin at sentence or
// paragraph ends, where a voice pauses, and together they are the whole text.
struct TextRun {
    std::string_view text;
    // The first word of the next run (empty for the last run). Spoken after the run, it
    // makes the voice end the run with the pause it makes there inside the whole text.
    std::string_view nextHead;
    // Where the run begins in the whole text, in bytes.
    std::size_t offset = 0;
};

class TextRuns {
  public:
    // Cuts the text into runs of about targetLength bytes each, at the first sentence or
    // paragraph end past that length. A text with no such end, or too short to cut, is
    // one run.
    static std::vector<TextRun> Cut(std::string_view text, std::size_t targetLength);
};
