// Feeds the private-profile functions a random settings file and a random section, key and
// value. Reading never crashes and never writes past the buffer; a value written reads back
// as written, up to the cuts the functions promise; a write leaves every other key as it
// was; a refused write leaves the file as it was, byte for byte.
#include "tests/fuzz/FuzzSupport.h"

#include "platform/profile/PrivateProfile.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

const std::string& kFile = FuzzFilePath("fuzz.ini");

// Blanks around names and values do not count: white space other than the line feed, which
// ends a line.
std::string_view Trim(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\v\f";
    text.remove_prefix(std::min(text.find_first_not_of(kBlanks), text.size()));
    return text.substr(0, text.find_last_not_of(kBlanks) + 1);
}

// Names match without regard to ASCII case or to the blanks around them.
bool SameName(std::string_view left, std::string_view right) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
    return std::ranges::equal(Trim(left), Trim(right),
                              [&](char l, char r) { return lower(l) == lower(r); });
}

// The names the writer documents it cannot store: a section name with a line break or a
// ']', a key name with a line break or an '=', or starting after its blanks with ';' or '['.
// Any other name must be taken.
bool MayBeRefused(std::string_view section, std::string_view key) {
    const std::string_view trimmed = Trim(key);
    return section.find_first_of("\r\n]") != std::string_view::npos ||
           key.find_first_of("\r\n=") != std::string_view::npos ||
           (!trimmed.empty() && (trimmed.front() == ';' || trimmed.front() == '['));
}

// What a read gives back after value was written: the value up to its first line break,
// without the blanks around it, and without a matching pair of enclosing quotes.
std::string ReadBackForm(std::string_view value) {
    value = Trim(value.substr(0, value.find_first_of("\r\n")));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

// A buffer of size bytes holds at most size - 1 bytes of text and a NUL: a cut value is a
// prefix of the value within that, and a value that fits is not cut. Where a cut falls
// among the bytes of a character, the reading tests pin row by row.
void CheckCut(std::string_view full, std::string_view got, std::size_t size) {
    FuzzCheck(got.size() < size && full.starts_with(got),
              "a cut value is no prefix of the value within the buffer", got);
    FuzzCheck(full.size() >= size || got.size() == full.size(),
              "a value that fits the buffer was cut", got);
}

// The value, or the default, read with a buffer of exactly size bytes (so a write past it is
// caught), which must hold the returned count of bytes and then a NUL.
std::string ReadString(const std::string& section, const std::string& key, std::size_t size,
                       const std::string& defaultValue = "") {
    const auto buffer = std::make_unique<char[]>(size);
    const DWORD count =
        GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.get(),
                                 static_cast<DWORD>(size), kFile.c_str());
    FuzzCheck(count < size && buffer[count] == '\0',
              "the count read does not end at a NUL inside the buffer");
    return std::string(buffer.get(), count);
}

bool Write(const std::string& section, const std::string& key, const std::string& value) {
    return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), kFile.c_str());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    // Strings from the input as the C functions see them: up to their first NUL.
    const auto take = [&](std::size_t most) -> std::string {
        return input.ConsumeRandomLengthString(most).c_str();
    };
    const std::string section = take(64), key = take(64), value = take(600);
    const std::string otherSection = take(64), otherKey = take(64);
    const auto bufferSize = input.ConsumeIntegralInRange<std::size_t>(1, 700);
    const auto number = input.ConsumeIntegral<std::int32_t>();
    const std::string before = input.ConsumeRemainingBytesAsString();
    WriteFuzzFile(kFile, before);

    // Whatever the file holds, reading it must be safe. A buffer as large as the file holds
    // any value whole.
    ReadString(section, key, bufferSize);
    const std::string otherBefore = ReadString(otherSection, otherKey, before.size() + 1);
    GetPrivateProfileIntA(otherSection.c_str(), otherKey.c_str(), 0, kFile.c_str());

    if (!Write(section, key, value)) {
        FuzzCheck(MayBeRefused(section, key), "a write with plain names was refused",
                  section + "] " + key);
        FuzzCheck(ReadFile(kFile) == before, "a refused write changed the file");
        return 0;
    }
    const std::string expected = ReadBackForm(value);
    const std::size_t afterSize = ReadFile(kFile).size() + 1;
    // The default differs from the value, so a key that went missing cannot pass.
    FuzzCheck(ReadString(section, key, afterSize, expected + "!") == expected,
              "a written value does not read back", section + "] " + key + "=" + value);
    CheckCut(expected, ReadString(section, key, bufferSize), bufferSize);
    FuzzCheck((SameName(section, otherSection) && SameName(key, otherKey)) ||
                  ReadString(otherSection, otherKey, afterSize) == otherBefore,
              "a write changed another key", otherSection + "] " + otherKey);

    // Numbers go through the same functions as text; every int must come back as itself.
    const std::string decimal = std::to_string(number);
    FuzzCheck(Write(section, key, decimal), "a number was refused under names taken before");
    FuzzCheck(static_cast<int>(GetPrivateProfileIntA(section.c_str(), key.c_str(),
                                                     static_cast<int>(~number), kFile.c_str())) ==
                  number,
              "a written number does not read back", decimal);
    return 0;
}
