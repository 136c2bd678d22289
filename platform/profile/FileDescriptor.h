#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

// Why an attempt to open an existing file for reading did not give a descriptor.
enum class OpenFailure { None, Missing, Refused };

// Owns one open file descriptor and closes it when it goes.
class FileDescriptor {
  public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    FileDescriptor(FileDescriptor&& other) noexcept;
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor();

    // Opens a regular file for reading. Opening never waits: a folder, a FIFO or a device
    // is refused, so a path that names one can never block the caller.
    static FileDescriptor OpenRegularForReading(const char* path, OpenFailure& failure);

    // Creates or truncates a file for writing. Opening never waits on a FIFO without a
    // reader; writes to an opened file block as usual.
    static FileDescriptor OpenForWriting(const char* path);

    bool IsOpen() const { return m_fd >= 0; }
    int Get() const { return m_fd; }

    // The size the file has now, as the file system reports it.
    std::optional<std::size_t> Size() const;

    // Reads up to size bytes into data: the count read, 0 at the end of the file, or
    // nothing when reading failed. Interrupted reads are retried.
    std::optional<std::size_t> ReadSome(char* data, std::size_t size);

    // Writes all bytes, retrying short and interrupted writes; false on the first error.
    bool WriteAll(std::string_view bytes);

    // Closes the descriptor now and reports whether the system accepted the close, which
    // is where some file systems report a failed write.
    bool Close();

  private:
    int m_fd = -1;
};
