#pragma once

#include <string>
#include <string_view>

// Puts new content into a settings file, as the original platform's profile functions do,
// but never leaves a half-written file where that can be avoided:
// - a file that nobody may write (the read-only attribute there) is refused, also for root,
//   and so is a file this user may not write;
// - a file of our own with a single name, in a folder we may write, is replaced as a whole:
//   the content goes to an unnamed temporary file in the same folder and is flushed to disk
//   before it takes the file's place, so a crash leaves the old or the new file and no
//   stray temporary file;
// - any other file (in a folder we may not write, with a second hard link, of another user)
//   is rewritten in place, which keeps its links and its owner: room for the new content
//   is reserved first, so a full disk or a size limit fails before any byte changes, then
//   the whole content is written and flushed.
// A symbolic link is followed: the file it points at is the one saved.
class ProfileFileWriter {
  public:
    static bool Save(const std::string& path, std::string_view content);
};
