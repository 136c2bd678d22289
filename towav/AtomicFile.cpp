#include "towav/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// New files get the usual permissions, narrowed by the user's umask.
constexpr mode_t kFileMode = 0666;

// A symbolic link stays a link: the file it points at is the one replaced.
std::filesystem::path ResolveLink(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error))
        return path;
    const auto target = std::filesystem::weakly_canonical(path, error);
    return error ? path : target;
}

// The temporary file's name, hidden and unique to this process. Appended piece by piece:
// GCC 12 at -O3 sees a false overlap in "literal" + string&&.
std::string TemporaryName(const std::filesystem::path& target) {
    std::string name = ".";
    name += target.filename().string();
    name += ".towav-";
    name += std::to_string(getpid());
    return name;
}

std::filesystem::path FolderOf(const std::filesystem::path& target) {
    const std::filesystem::path folder = target.parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

} // namespace

AtomicFile::AtomicFile(const std::filesystem::path& target)
    : m_target(ResolveLink(target)), m_temporary(FolderOf(m_target) / TemporaryName(m_target)) {
    // A folder at the target could never be replaced; say so before any work is done.
    std::error_code ignored;
    if (std::filesystem::is_directory(m_target, ignored)) {
        errno = EISDIR;
        Fail("cannot replace " + m_target.string());
    } else if (!OpenUnnamed() && !OpenNamed())
        Fail("cannot create a file in " + FolderOf(m_target).string());
}

AtomicFile::~AtomicFile() {
    Discard();
}

bool AtomicFile::OpenUnnamed() {
    m_descriptor = open(FolderOf(m_target).c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, kFileMode);
    return m_descriptor >= 0;
}

bool AtomicFile::OpenNamed() {
    // A named file is the fallback for file systems without unnamed files only. Any other
    // failure (a missing or read-only folder) would recur here; its errno stays for the
    // message.
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
        return false;
    // A file of this name can only be left over from a killed run with our process id.
    unlink(m_temporary.c_str());
    m_descriptor = open(m_temporary.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, kFileMode);
    m_named = m_descriptor >= 0;
    return m_named;
}

void AtomicFile::StartWriteback() {
    // Only a hint: a failed write-out shows in the commit's fsync.
    sync_file_range(m_descriptor, 0, 0, SYNC_FILE_RANGE_WRITE);
}

bool AtomicFile::Commit() {
    // The data must be on the disk before the rename makes it the target, or a crash
    // could leave an empty file under the target's name.
    // A file that is replaced keeps its permissions.
    struct stat old {};
    if (stat(m_target.c_str(), &old) == 0)
        fchmod(m_descriptor, old.st_mode & 07777);
    if (fsync(m_descriptor) != 0)
        return Fail("cannot write " + m_target.string());
    if (!GiveTemporaryName())
        return false;
    if (std::rename(m_temporary.c_str(), m_target.c_str()) != 0)
        return Fail("cannot replace " + m_target.string());
    m_named = false;
    Discard();
    return true;
}

bool AtomicFile::GiveTemporaryName() {
    if (m_named)
        return true;
    // An unnamed file gets a name through its /proc link; rename then moves it over the
    // target in one step, which linking straight to the target could not do.
    const std::string link = "/proc/self/fd/" + std::to_string(m_descriptor);
    unlink(m_temporary.c_str());
    if (linkat(AT_FDCWD, link.c_str(), AT_FDCWD, m_temporary.c_str(), AT_SYMLINK_FOLLOW) != 0)
        return Fail("cannot create a file in " + FolderOf(m_target).string());
    m_named = true;
    return true;
}

bool AtomicFile::Fail(const std::string& what) {
    m_error = what + ": " + std::strerror(errno);
    return false;
}

void AtomicFile::Discard() {
    if (m_named)
        unlink(m_temporary.c_str());
    m_named = false;
    if (m_descriptor >= 0)
        close(m_descriptor);
    m_descriptor = -1;
}
