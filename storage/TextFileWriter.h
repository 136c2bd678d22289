#pragma once

#include <string_view>

// Stores a text in a file as it is: the file is created or emptied, then receives the
// text's bytes, with no line end or byte-order mark added. Line feeds stay line feeds,
// which is how text files end their lines here.
class TextFileWriter {
  public:
    // 1 when the file was opened for writing, else 0; the outcome of the write itself is not
    // part of the result. Opening never waits, not even on a FIFO without a reader.
    static int Write(std::string_view text, const char* path);
};
