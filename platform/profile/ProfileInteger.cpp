#include "platform/profile/ProfileInteger.h"

namespace {

// The digit's value, or 36 for a character that is no digit in any base.
unsigned DigitValue(char c) {
    if (c >= '0' && c <= '9')
        return static_cast<unsigned>(c - '0');
    if (c >= 'a' && c <= 'z')
        return static_cast<unsigned>(c - 'a' + 10);
    if (c >= 'A' && c <= 'Z')
        return static_cast<unsigned>(c - 'A' + 10);
    return 36;
}

unsigned BaseOfPrefix(char c) {
    switch (c) {
    case 'x':
        return 16;
    case 'o':
        return 8;
    case 'b':
        return 2;
    default:
        return 0;
    }
}

} // namespace

std::int32_t ProfileInteger::Read(std::string_view text) {
    std::size_t pos = 0;
    // Blanks inside quotes ("' 5'") reach this point; the original skipped them too.
    while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
        ++pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    unsigned base = 10;
    if (pos + 1 < text.size() && text[pos] == '0' && BaseOfPrefix(text[pos + 1]) != 0) {
        base = BaseOfPrefix(text[pos + 1]);
        pos += 2;
    }
    // Unsigned arithmetic wraps where the original's 32-bit accumulator did.
    std::uint32_t total = 0;
    for (; pos < text.size(); ++pos) {
        const unsigned digit = DigitValue(text[pos]);
        if (digit >= base)
            break;
        total = total * base + digit;
    }
    if (negative)
        total = 0u - total;
    return static_cast<std::int32_t>(total);
}
