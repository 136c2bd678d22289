#pragma once

#include <cstdint>
#include <optional>

// What tells one state of a file from another without reading it: which file it is, its
// size and when it was last changed. Two equal stamps of one path mean the same contents,
// unless someone rewrote the file within the file system's time resolution and set its
// time back.
struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;

    // The stamp of the file the path names now; nothing when it cannot be found.
    static std::optional<FileStamp> Of(const char* path);

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};
