#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// The text of one settings file, read and changed in place. Only what a change needs is
// touched: every other byte (comments, blank lines, other sections, unknown keys, the line
// ends the file already has) stays as it was.
//
// The file is read line by line. "[name]" opens a section; "key=value" inside a section is a
// key; lines starting with ';' and lines without '=' are neither. Names match without regard
// to ASCII case, blanks around names and values do not count, and the first matching
// section, and the first matching key in it, win. A UTF-8 byte-order mark at the start, as
// some editors write it, is no part of the first line and stays in the text.
class ProfileDocument {
  public:
    explicit ProfileDocument(std::string text);

    // The key's value with the blanks around it removed, or nothing when the section or the
    // key is missing. The view points into this document.
    std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;

    // Replaces the key's value on its own line, or adds "key=value" at the end of the section
    // (after its last line that is not blank), or adds the section at the end of the file.
    // New lines end with CR LF.
    void Set(std::string_view section, std::string_view key, std::string_view value);

    const std::string& Text() const { return m_text; }

  private:
    struct Location;
    Location Locate(std::string_view section, std::string_view key) const;

    std::string m_text;
    // Where the first line starts: after the byte-order mark, if there is one.
    std::size_t m_start = 0;
};
