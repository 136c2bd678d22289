#pragma once

#include <filesystem>
#include <string>

// Whole files as bytes, for tests that prepare a file or check one to the byte.
void WriteFile(const std::filesystem::path& path, const std::string& bytes);
// The file's bytes, or an empty text when it cannot be read.
std::string ReadFile(const std::filesystem::path& path);
