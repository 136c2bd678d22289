#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// A private folder in the temporary directory that a fuzz target works in. It becomes the
// current directory, so the files a target writes meet neither the user's files nor another
// run's, and it is removed when the target ends normally. After a crash scripts/fuzz.sh
// removes the temporary directory it gave the target.
class FuzzWorkFolder {
  public:
    // Creates the folder and enters it; aborts when either fails, since no input could be
    // run then.
    FuzzWorkFolder();
    FuzzWorkFolder(const FuzzWorkFolder&) = delete;
    FuzzWorkFolder& operator=(const FuzzWorkFolder&) = delete;
    ~FuzzWorkFolder();

    // Replaces the file's content with bytes, NUL bytes included; aborts when it cannot.
    static void WriteFile(const char* name, std::string_view bytes);

    // The file's bytes; an empty text when it cannot be read.
    static std::string ReadFile(const char* name);

  private:
    std::filesystem::path m_path;
};
