#include "platform/profile/AtomicFileWriter.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A symbolic link stays a link: the file it points at is the one replaced.
std::string ResolveLink(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error))
        return path;
    const auto target = std::filesystem::weakly_canonical(path, error);
    return error ? path : target.string();
}

} // namespace

AtomicFileWriter::AtomicFileWriter(std::string path) : m_path(ResolveLink(path)) {
    CreateTemporary();
}

AtomicFileWriter::~AtomicFileWriter() {
    if (!m_temporaryPath.empty()) {
        m_temporary.Close();
        ::unlink(m_temporaryPath.c_str());
    }
}

void AtomicFileWriter::CreateTemporary() {
    // The temporary file lies beside the target, so the rename never crosses a file system.
    // It is created with the usual 0666 less the umask, like the file it may become; an
    // existing file's own permissions are carried over in Commit.
    const std::string base = m_path + ".tmp" + std::to_string(::getpid()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string candidate = base + std::to_string(attempt);
        FileDescriptor file(
            ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
        if (file.IsOpen()) {
            m_temporary = std::move(file);
            m_temporaryPath = std::move(candidate);
            return;
        }
        if (errno != EEXIST)
            return;
    }
}

bool AtomicFileWriter::Write(std::string_view bytes) {
    if (!IsOpen() || m_failed)
        return false;
    m_failed = !m_temporary.WriteAll(bytes);
    return !m_failed;
}

bool AtomicFileWriter::Commit() {
    if (!IsOpen() || m_failed)
        return false;
    struct stat old {};
    if (::stat(m_path.c_str(), &old) == 0)
        ::fchmod(m_temporary.Get(), old.st_mode & 07777);
    // The data must be on disk before the rename makes it the file, or a crash could leave
    // the new name pointing at an empty file.
    if (::fsync(m_temporary.Get()) != 0 || !m_temporary.Close())
        return false;
    if (::rename(m_temporaryPath.c_str(), m_path.c_str()) != 0)
        return false;
    m_temporaryPath.clear();
    return true;
}
