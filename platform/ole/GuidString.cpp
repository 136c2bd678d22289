#include "platform/ole/GuidString.h"

#include <cstddef>

namespace {

constexpr std::string_view kDigits = "0123456789ABCDEF";
// Where each of the 16 bytes starts in the registry form, in the order the bytes are
// printed: Data1 (4 bytes), Data2 (2), Data3 (2), Data4 (8).
constexpr std::size_t kBytePositions[16] = {1,  3,  5,  7,  10, 12, 15, 17,
                                            20, 22, 25, 27, 29, 31, 33, 35};
constexpr std::size_t kHyphenPositions[4] = {9, 14, 19, 24};
constexpr std::size_t kLength = 38;

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The bytes in printing order (the integer fields big-endian, as they are written).
void ToBytes(const GUID& guid, BYTE (&bytes)[16]) {
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<BYTE>(guid.Data1 >> (24 - 8 * i));
    bytes[4] = static_cast<BYTE>(guid.Data2 >> 8);
    bytes[5] = static_cast<BYTE>(guid.Data2);
    bytes[6] = static_cast<BYTE>(guid.Data3 >> 8);
    bytes[7] = static_cast<BYTE>(guid.Data3);
    for (int i = 0; i < 8; ++i)
        bytes[8 + i] = guid.Data4[i];
}

GUID FromBytes(const BYTE (&bytes)[16]) {
    GUID guid;
    for (int i = 0; i < 4; ++i)
        guid.Data1 = (guid.Data1 << 8) | bytes[i];
    guid.Data2 = static_cast<WORD>((bytes[4] << 8) | bytes[5]);
    guid.Data3 = static_cast<WORD>((bytes[6] << 8) | bytes[7]);
    for (int i = 0; i < 8; ++i)
        guid.Data4[i] = bytes[8 + i];
    return guid;
}

} // namespace

std::string StringFromGUID(const GUID& guid) {
    BYTE bytes[16];
    ToBytes(guid, bytes);
    std::string text(kLength, '-');
    text.front() = '{';
    text.back() = '}';
    for (std::size_t i = 0; i < 16; ++i) {
        text[kBytePositions[i]] = kDigits[bytes[i] >> 4];
        text[kBytePositions[i] + 1] = kDigits[bytes[i] & 0x0F];
    }
    return text;
}

std::optional<GUID> GUIDFromString(std::string_view text) {
    if (text.size() != kLength || text.front() != '{' || text.back() != '}')
        return std::nullopt;
    for (std::size_t position : kHyphenPositions) {
        if (text[position] != '-')
            return std::nullopt;
    }
    BYTE bytes[16];
    for (std::size_t i = 0; i < 16; ++i) {
        const int high = HexValue(text[kBytePositions[i]]);
        const int low = HexValue(text[kBytePositions[i] + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes[i] = static_cast<BYTE>(high << 4 | low);
    }
    return FromBytes(bytes);
}
