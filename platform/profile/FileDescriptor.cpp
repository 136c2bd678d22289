#include "platform/profile/FileDescriptor.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

FileDescriptor::FileDescriptor(FileDescriptor&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)) {}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        Close();
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

FileDescriptor::~FileDescriptor() {
    Close();
}

FileDescriptor FileDescriptor::OpenRegularForReading(const char* path, OpenFailure& failure) {
    // O_NONBLOCK makes the open of a FIFO without a writer return at once; O_NOCTTY keeps
    // a terminal named by mistake from becoming ours. The kind of file is checked on the
    // opened descriptor, so it cannot change between the check and the read.
    FileDescriptor file(::open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!file.IsOpen()) {
        failure = errno == ENOENT ? OpenFailure::Missing : OpenFailure::Refused;
        return file;
    }
    struct stat status {};
    if (::fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        failure = OpenFailure::Refused;
        return FileDescriptor();
    }
    failure = OpenFailure::None;
    return file;
}

FileDescriptor FileDescriptor::OpenForWriting(const char* path) {
    FileDescriptor file(
        ::open(path, O_WRONLY | O_CREAT | O_TRUNC | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666));
    // Only the open must not wait; a reader on the other end of a FIFO gets ordinary
    // blocking writes.
    if (file.IsOpen()) {
        const int flags = ::fcntl(file.Get(), F_GETFL);
        if (flags >= 0)
            ::fcntl(file.Get(), F_SETFL, flags & ~O_NONBLOCK);
    }
    return file;
}

std::optional<std::size_t> FileDescriptor::Size() const {
    struct stat status {};
    if (::fstat(m_fd, &status) != 0 || status.st_size < 0)
        return std::nullopt;
    return static_cast<std::size_t>(status.st_size);
}

std::optional<std::size_t> FileDescriptor::ReadSome(char* data, std::size_t size) {
    for (;;) {
        const ssize_t count = ::read(m_fd, data, size);
        if (count >= 0)
            return static_cast<std::size_t>(count);
        if (errno != EINTR)
            return std::nullopt;
    }
}

bool FileDescriptor::WriteAll(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t count = ::write(m_fd, bytes.data(), bytes.size());
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
}

bool FileDescriptor::Close() {
    if (m_fd < 0)
        return true;
    // On Linux the descriptor is gone after close even when it reports EINTR, so it is
    // never closed twice.
    const int result = ::close(std::exchange(m_fd, -1));
    return result == 0 || errno == EINTR;
}
