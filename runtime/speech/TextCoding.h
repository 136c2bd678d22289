#pragma once

#include <string>
#include <string_view>

// The runtime takes and gives UTF-16 text at its dispatch interface and talks UTF-8 with
// eSpeak NG. Unpaired surrogates and malformed bytes become U+FFFD.
namespace TextCoding {

std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);

} // namespace TextCoding
