#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>

// Reports a broken promise of the code under test on standard error, bytes that are not
// printable escaped, and aborts, which libFuzzer records as a crash with its input.
[[noreturn]] inline void ReportFuzzFailure(std::string_view what, std::string_view detail = {}) {
    std::fprintf(stderr, "\nFUZZ CHECK FAILED: %.*s\n%s", static_cast<int>(what.size()),
                 what.data(), detail.empty() ? "" : "  ");
    for (const char c : detail)
        std::fprintf(stderr, c >= 0x20 && c < 0x7F && c != '\\' ? "%c" : "\\x%02x",
                     static_cast<unsigned char>(c));
    if (!detail.empty())
        std::fputc('\n', stderr);
    std::abort();
}

// The path of the file a target writes each input to, in a private folder of the temporary
// directory, so inputs meet neither the user's files nor another run's. The folder goes when
// the target ends normally; after a crash scripts/fuzz.sh removes the temporary directory it
// gave the target. The current directory stays, so paths on the command line keep naming
// the inputs.
inline const std::string& FuzzFilePath(const char* name) {
    static const struct Folder {
        std::string path = std::filesystem::temp_directory_path() / "murmelo-fuzz-XXXXXX";
        Folder() {
            if (!mkdtemp(path.data()))
                ReportFuzzFailure("cannot create the work folder", path);
        }
        ~Folder() {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    } folder;
    static const std::string path = folder.path + "/" + name;
    return path;
}

// Replaces the file's content with bytes, NUL bytes included.
inline void WriteFuzzFile(const std::string& path, std::string_view bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file)
        ReportFuzzFailure("cannot write the input file", path);
}

// The file's bytes; an empty text when it cannot be read.
inline std::string ReadFuzzFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}
