#pragma once

#include "tests/support/FileBytes.h"
#include "tests/support/TemporaryFolder.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

// Reports a broken promise of the code under test on standard error, bytes that are not
// printable escaped, and aborts, which libFuzzer records as a crash with its input.
inline void FuzzCheck(bool kept, std::string_view what, std::string_view detail = {}) {
    if (kept)
        return;
    std::fprintf(stderr, "\nFUZZ CHECK FAILED: %.*s\n  ", int(what.size()), what.data());
    for (const char c : detail)
        std::fprintf(stderr, c >= 0x20 && c < 0x7F && c != '\\' ? "%c" : "\\x%02x",
                     static_cast<unsigned char>(c));
    std::fputc('\n', stderr);
    std::abort();
}

// The path of the file a target writes each input to, in a private folder of the temporary
// directory, so inputs meet neither the user's files nor another run's. The folder goes when
// the target ends normally; after a crash scripts/fuzz.sh removes the temporary directory it
// gave the target. The current directory stays, so paths on the command line keep naming
// the inputs.
inline const std::string& FuzzFilePath(const char* name) {
    static const TemporaryFolder folder("murmelo-fuzz");
    static const std::string path = folder.Path() / name;
    return path;
}

// Replaces the file's content with bytes, NUL bytes included.
inline void WriteFuzzFile(const std::string& path, std::string_view bytes) {
    FuzzCheck(WriteFile(path, bytes), "cannot write the input file", path);
}
