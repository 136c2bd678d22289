#include "storage/TextFileWriter.h"

#include "platform/profile/FileDescriptor.h"

#include <algorithm>
#include <string>

namespace {

// Short texts are gathered into blocks of about this size, so that many copies do not
// cost one system call each.
constexpr std::size_t kBlockSize = 64 * 1024;

} // namespace

int TextFileWriter::Write(std::string_view text, const char* path) {
    return WriteRepeated(text, 1, path) == WriteOutcome::NotOpened ? 0 : 1;
}

WriteOutcome TextFileWriter::WriteRepeated(std::string_view text, int copies, const char* path) {
    FileDescriptor file = FileDescriptor::OpenForWriting(path);
    if (!file.IsOpen())
        return WriteOutcome::NotOpened;
    if (!file.WriteAll(text))
        return WriteOutcome::Incomplete;
    // Every further copy is a space and the text again. Short texts are gathered into
    // blocks of many copies; a long one is written straight from its own memory.
    std::size_t missing = static_cast<std::size_t>(std::max(copies, 1) - 1);
    const std::size_t copyLength = text.size() + 1;
    if (copyLength > kBlockSize) {
        for (; missing > 0; --missing) {
            if (!file.WriteAll(" ") || !file.WriteAll(text))
                return WriteOutcome::Incomplete;
        }
    }
    const std::size_t perBlock = std::max<std::size_t>(1, kBlockSize / copyLength);
    std::string block;
    for (std::size_t i = 0; i < std::min(perBlock, missing); ++i)
        block.append(" ").append(text);
    while (missing > 0) {
        const std::size_t now = std::min(perBlock, missing);
        if (!file.WriteAll(std::string_view(block).substr(0, now * copyLength)))
            return WriteOutcome::Incomplete;
        missing -= now;
    }
    return file.Close() ? WriteOutcome::Written : WriteOutcome::Incomplete;
}
