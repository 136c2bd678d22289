#include "platform/profile/ProfileValue.h"

#include <cstring>

namespace {

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The length a UTF-8 sequence starting with this byte claims; 1 for anything that does not
// start one, so stray bytes are cut like single characters.
std::size_t ClaimedLength(unsigned char byte) {
    if (byte >= 0xC2 && byte <= 0xDF)
        return 2;
    if (byte >= 0xE0 && byte <= 0xEF)
        return 3;
    if (byte >= 0xF0 && byte <= 0xF4)
        return 4;
    return 1;
}

// The largest cut at or below limit that does not fall inside a character.
std::size_t CutPoint(std::string_view text, std::size_t limit) {
    if (text.size() <= limit)
        return text.size();
    std::size_t start = limit;
    while (start > 0 && limit - start < 3 &&
           IsContinuation(static_cast<unsigned char>(text[start])))
        --start;
    const bool straddles =
        start < limit && start + ClaimedLength(static_cast<unsigned char>(text[start])) > limit;
    return straddles ? start : limit;
}

} // namespace

std::string_view ProfileValue::Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

std::size_t ProfileValue::CopyToBuffer(std::string_view text, char* buffer, std::size_t size) {
    if (size == 0)
        return 0;
    const std::size_t count = CutPoint(text, size - 1);
    std::memcpy(buffer, text.data(), count);
    buffer[count] = '\0';
    return count;
}
