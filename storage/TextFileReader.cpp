#include "storage/TextFileReader.h"

#include "platform/profile/FileDescriptor.h"
#include "platform/text/AnsiCodePage.h"
#include "storage/TextModeFilter.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>
#include <string_view>
#include <sys/mman.h>

namespace {

// Each block is read, filtered and converted while it is in the processor's cache, so
// the narrow text never exists whole: only the wide result grows with the file.
constexpr std::size_t kBlock = 256 * 1024;

// Room in front of a block for the bytes carried over from the one before: up to three
// bytes of an unfinished UTF-8 character and a CR that waits for its line feed.
constexpr std::size_t kCarry = 4;

// The kept byte count is reported, and later handled by callers, as an int.
constexpr std::size_t kMaxTextBytes = INT_MAX;

bool IsContinuation(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

// Where the text may be cut without changing its conversion: before the start of a
// character that may still be unfinished. A cut in front of any byte that is not a
// continuation byte converts exactly as the uncut text does, and a character is at most
// four bytes long, so only the last three bytes need a look.
std::size_t ConvertibleEnd(const char* text, std::size_t size) {
    for (std::size_t back = 1; back <= 3 && back <= size; ++back) {
        const char byte = text[size - back];
        if (!IsContinuation(byte))
            return static_cast<unsigned char>(byte) < 0x80 ? size : size - back;
    }
    return size;
}

// Asks the kernel to back a large buffer with huge pages where it can. Filling 200 MB of
// wide text otherwise takes fifty thousand page faults, which cost more than the reading,
// filtering and converting together.
void AdviseHugePages(void* data, std::size_t size) {
    constexpr std::uintptr_t kHugePage = 2 * 1024 * 1024;
    const auto address = reinterpret_cast<std::uintptr_t>(data);
    const std::uintptr_t begin = (address + kHugePage - 1) & ~(kHugePage - 1);
    const std::uintptr_t end = (address + size) & ~(kHugePage - 1);
    if (end > begin)
        ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
}

// Reads the file block by block. The kept bytes are counted in full; they are converted
// and appended to the wide text up to the first NUL.
class FilteredReading {
  public:
    explicit FilteredReading(std::size_t fileSize)
        : m_block(std::make_unique_for_overwrite<char[]>(kCarry + kBlock)) {
        // The file's size bounds the wide text; memory that is reserved but never written
        // costs nothing.
        m_wide.reserve(fileSize);
        AdviseHugePages(m_wide.data(), m_wide.capacity() * sizeof(char16_t));
    }

    // False when a read failed or the text is too large.
    bool ReadAll(FileDescriptor& file) {
        for (;;) {
            const std::size_t rawBegin = m_carried;
            const std::size_t used = rawBegin + (m_crHeld ? 1 : 0);
            const auto count = file.ReadSome(m_block.get() + used, kCarry + kBlock - used);
            if (!count)
                return false;
            if (*count == 0) {
                // A CR at the very end of the file is an ordinary byte.
                m_crHeld = false;
                Take(rawBegin, used, true);
                break;
            }
            const auto result = TextModeFilter::Apply(m_block.get(), rawBegin, used + *count);
            m_crHeld = result.crHeld;
            Take(rawBegin, result.keptEnd, result.ended);
            if (result.ended)
                break;
            if (m_kept > kMaxTextBytes)
                return false;
        }
        return m_kept <= kMaxTextBytes;
    }

    std::size_t kept() const { return m_kept; }
    std::u16string& wide() { return m_wide; }

  private:
    // Takes the newly kept bytes [newBegin, keptEnd) of the block; the bytes before them
    // were carried over and are kept already.
    void Take(std::size_t newBegin, std::size_t keptEnd, bool last) {
        m_kept += keptEnd - newBegin;
        std::size_t convertEnd = keptEnd;
        if (m_converting) {
            const auto* nul = static_cast<const char*>(
                std::memchr(m_block.get() + newBegin, '\0', keptEnd - newBegin));
            if (nul) {
                convertEnd = static_cast<std::size_t>(nul - m_block.get());
                m_converting = false;
            } else if (!last) {
                convertEnd = ConvertibleEnd(m_block.get(), keptEnd);
            }
            m_wide += AnsiCodePage::ToWide(std::string_view(m_block.get(), convertEnd));
        }
        // Whatever was not converted yet, and a held CR behind it, moves to the front.
        m_carried = m_converting ? keptEnd - convertEnd : 0;
        const std::size_t from = keptEnd - m_carried;
        std::memmove(m_block.get(), m_block.get() + from, m_carried + (m_crHeld ? 1 : 0));
    }

    std::unique_ptr<char[]> m_block;
    std::u16string m_wide;
    std::size_t m_kept = 0;
    std::size_t m_carried = 0;
    bool m_crHeld = false;
    bool m_converting = true;
};

bool ReportCannotOpen(const char* path) {
    std::printf("Open file %s failed!\n", path);
    return false;
}

} // namespace

bool TextFileReader::Read(const char* path, std::optional<std::u16string>& wideText) {
    OpenFailure failure = OpenFailure::None;
    FileDescriptor file = FileDescriptor::OpenRegularForReading(path, failure);
    if (!file.IsOpen())
        return ReportCannotOpen(path);
    const auto fileSize = file.Size();
    if (!fileSize || *fileSize > kMaxTextBytes)
        return ReportCannotOpen(path);
    try {
        FilteredReading reading(*fileSize);
        if (!reading.ReadAll(file))
            return ReportCannotOpen(path);
        std::printf("%d char to be conerted......", static_cast<int>(reading.kept()));
        if (reading.kept() > 0)
            wideText = std::move(reading.wide());
        return true;
    } catch (const std::bad_alloc&) {
        return ReportCannotOpen(path);
    } catch (const std::length_error&) {
        return ReportCannotOpen(path);
    }
}
