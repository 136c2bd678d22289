#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// A private folder in the temporary directory that a fuzz target writes its files in, so
// they meet neither the user's files nor another run's. It is removed when the target ends
// normally; after a crash scripts/fuzz.sh removes the temporary directory it gave the
// target. The current directory stays as it is, so relative paths on the command line keep
// naming the inputs.
class FuzzWorkFolder {
  public:
    // Creates the folder; aborts when it cannot, since no input could be run then.
    FuzzWorkFolder();
    FuzzWorkFolder(const FuzzWorkFolder&) = delete;
    FuzzWorkFolder& operator=(const FuzzWorkFolder&) = delete;
    ~FuzzWorkFolder();

    // The full path of a file in the folder.
    std::string PathOf(std::string_view name) const;

    // Replaces the file's content with bytes, NUL bytes included; aborts when it cannot.
    static void WriteFile(const std::string& path, std::string_view bytes);

    // The file's bytes; an empty text when it cannot be read.
    static std::string ReadFile(const std::string& path);

  private:
    std::filesystem::path m_path;
};
