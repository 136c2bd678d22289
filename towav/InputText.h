#pragma once

#include <optional>
#include <string>

// The text the converter speaks, read from its input file.
class InputText {
  public:
    // The file's UTF-8 text without a leading byte-order mark, or nothing when the file
    // cannot be read (errno then tells why).
    static std::optional<std::string> Read(const std::string& path);
};
