#include "storage/TextModeFilter.h"

#include <array>

namespace {

enum ByteKind : unsigned char { Keep, Drop, CarriageReturn, EndOfText };

constexpr std::array<ByteKind, 256> MakeKinds() {
    std::array<ByteKind, 256> kinds{};
    kinds['.'] = Drop;
    kinds[','] = Drop;
    kinds['$'] = Drop;
    kinds['\r'] = CarriageReturn;
    kinds[0x1A] = EndOfText;
    return kinds;
}

constexpr std::array<ByteKind, 256> kKinds = MakeKinds();

} // namespace

TextModeFilter::Result TextModeFilter::Apply(char* buffer, std::size_t begin, std::size_t end) {
    std::size_t kept = begin;
    for (std::size_t pos = begin; pos < end; ++pos) {
        const char byte = buffer[pos];
        const ByteKind kind = kKinds[static_cast<unsigned char>(byte)];
        // Storing every byte and advancing only past kept ones keeps the common path free
        // of unpredictable branches.
        buffer[kept] = byte;
        kept += kind == Keep;
        if (kind <= Drop) [[likely]]
            continue;
        if (kind == EndOfText)
            return {kept, false, true};
        if (pos + 1 == end)
            return {kept, true, false};
        if (buffer[pos + 1] != '\n')
            ++kept;
    }
    return {kept, false, false};
}
