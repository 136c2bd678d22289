#include "tests/fuzz/FuzzFailure.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

std::string Escaped(std::string_view bytes) {
    std::string text;
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && byte != '\\') {
            text += c;
            continue;
        }
        constexpr char kHex[] = "0123456789abcdef";
        text += "\\x";
        text += kHex[byte >> 4];
        text += kHex[byte & 0xF];
    }
    return text;
}

} // namespace

void ReportFuzzFailure(std::string_view what, std::string_view detail) {
    std::fprintf(stderr, "\nFUZZ CHECK FAILED: %.*s\n", static_cast<int>(what.size()), what.data());
    if (!detail.empty())
        std::fprintf(stderr, "  %s\n", Escaped(detail).c_str());
    std::abort();
}
