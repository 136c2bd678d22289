#include "platform/process/Paths.h"

#include <cstdlib>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

std::string GetCurrentDirectoryA() {
    // With a null buffer getcwd allocates one of the size the path needs, so a path of any
    // length is read whole.
    std::unique_ptr<char, decltype(&std::free)> path(getcwd(nullptr, 0), &std::free);
    return path ? std::string(path.get()) : std::string();
}

std::string GetModuleFileNameA() {
    // readlink does not say how long the link is; a result that fills the buffer may have
    // been cut, so read again into a larger one.
    std::string buffer(256, '\0');
    for (;;) {
        ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0) {
            return {};
        }
        if (static_cast<std::size_t>(length) < buffer.size()) {
            buffer.resize(static_cast<std::size_t>(length));
            return buffer;
        }
        buffer.resize(buffer.size() * 2);
    }
}

bool FileExists(const std::string& path) {
    struct stat status {};
    return stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}
