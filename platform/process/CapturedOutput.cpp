#include "platform/process/CapturedOutput.h"

#include <algorithm>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A line longer than this is shown by its end, which is where a reason usually stands.
constexpr off_t kTailSize = 1024;

} // namespace

CapturedOutput::CapturedOutput() : m_fd(::memfd_create("captured-output", MFD_CLOEXEC)) {}

CapturedOutput::~CapturedOutput() {
    if (m_fd >= 0)
        ::close(m_fd);
}

std::string CapturedOutput::LastLine() const {
    struct stat status {};
    if (m_fd < 0 || ::fstat(m_fd, &status) != 0)
        return {};
    const off_t start = std::max<off_t>(0, status.st_size - kTailSize);
    std::string tail(static_cast<std::size_t>(status.st_size - start), '\0');
    const ssize_t count = ::pread(m_fd, tail.data(), tail.size(), start);
    tail.resize(count > 0 ? static_cast<std::size_t>(count) : 0);
    const std::size_t end = tail.find_last_not_of(" \t\r\n");
    if (end == std::string::npos)
        return {};
    tail.resize(end + 1);
    const std::size_t feed = tail.find_last_of("\r\n");
    return feed == std::string::npos ? tail : tail.substr(feed + 1);
}
