#include "platform/profile/ProfileFileWriter.h"

#include "platform/profile/FileDescriptor.h"

#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

enum class Replacement { Done, Failed, NotPossible };

std::string ResolveLink(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error))
        return path;
    const auto target = std::filesystem::weakly_canonical(path, error);
    return error ? path : target.string();
}

std::string FolderOf(const std::string& path) {
    const auto folder = std::filesystem::path(path).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

bool NobodyMayWrite(const struct stat& status) {
    return (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

// Gives the unnamed file a name. Through /proc any user may link it; without /proc only a
// process with the right privilege may link a descriptor directly.
bool LinkUnnamed(const FileDescriptor& file, const std::string& name) {
    const std::string self = "/proc/self/fd/" + std::to_string(file.Get());
    if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return true;
    if (errno != ENOENT)
        return false;
    return ::linkat(file.Get(), "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0;
}

Replacement ReplaceWhole(const std::string& path, std::string_view content,
                         const struct stat* old) {
    // An unnamed file vanishes by itself when the process ends before it is linked.
    FileDescriptor file(::open(FolderOf(path).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
    if (!file.IsOpen())
        return Replacement::NotPossible;
    if (old) {
        // The owner first: changing it clears set-id bits that the mode below restores.
        (void)::fchown(file.Get(), old->st_uid, old->st_gid);
        ::fchmod(file.Get(), old->st_mode & 07777);
    }
    // The data must be on disk before the file takes the old one's place, or a crash could
    // leave the name pointing at an empty file.
    if (!file.WriteAll(content) || ::fsync(file.Get()) != 0)
        return Replacement::Failed;
    // A new file is linked under its own name at once. A link cannot replace a name, so an
    // existing file gets a hidden name beside it renamed over it in the very next call.
    if (!old && LinkUnnamed(file, path))
        return Replacement::Done;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = FolderOf(path) + "/." +
                                 std::filesystem::path(path).filename().string() + ".new" +
                                 std::to_string(::getpid()) + "-" + std::to_string(attempt);
        if (!LinkUnnamed(file, name)) {
            if (errno == EEXIST)
                continue;
            return Replacement::NotPossible;
        }
        if (::rename(name.c_str(), path.c_str()) == 0)
            return Replacement::Done;
        ::unlink(name.c_str());
        return Replacement::Failed;
    }
    return Replacement::Failed;
}

bool RewriteInPlace(const std::string& path, std::string_view content) {
    // O_NONBLOCK keeps a FIFO put in the file's place from holding the open; it changes
    // nothing for the regular file that is checked for next.
    FileDescriptor file(
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666));
    struct stat status {};
    if (!file.IsOpen() || ::fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode))
        return false;
    const auto size = static_cast<off_t>(content.size());
    if (size > status.st_size && ::posix_fallocate(file.Get(), 0, size) != 0) {
        // Reserving may have grown the file; the old content itself is untouched.
        (void)::ftruncate(file.Get(), status.st_size);
        return false;
    }
    return file.WriteAll(content) && ::ftruncate(file.Get(), size) == 0 &&
           ::fsync(file.Get()) == 0 && file.Close();
}

} // namespace

bool ProfileFileWriter::Save(const std::string& given, std::string_view content) {
    const std::string path = ResolveLink(given);
    struct stat old {};
    const bool exists = ::stat(path.c_str(), &old) == 0;
    if (exists && (!S_ISREG(old.st_mode) || NobodyMayWrite(old) ||
                   ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0))
        return false;
    const uid_t user = ::geteuid();
    const bool replaceable = !exists || (old.st_nlink == 1 && (old.st_uid == user || user == 0));
    if (replaceable) {
        switch (ReplaceWhole(path, content, exists ? &old : nullptr)) {
        case Replacement::Done:
            return true;
        case Replacement::Failed:
            return false;
        case Replacement::NotPossible:
            break;
        }
    }
    return RewriteInPlace(path, content);
}
