#pragma once

#include <string_view>

// How far a write got: the file could not be opened, it was opened but did not receive the
// whole text (a full disk, a quota, a size limit), or it holds the whole text.
enum class WriteOutcome { NotOpened, Incomplete, Written };

// Stores a text in a file as it is: the file is created or emptied, then receives the
// text's bytes, with no line end or byte-order mark added. Line feeds stay line feeds,
// which is how text files end their lines here.
class TextFileWriter {
  public:
    // 1 when the file was opened for writing, else 0; the outcome of the write itself is not
    // part of the result. Opening never waits, not even on a FIFO without a reader.
    static int Write(std::string_view text, const char* path);

    // Stores copies of text joined by single spaces (at least one copy). The copies are
    // streamed to the file, so memory stays about the size of one copy however many there
    // are.
    static WriteOutcome WriteRepeated(std::string_view text, int copies, const char* path);
};
