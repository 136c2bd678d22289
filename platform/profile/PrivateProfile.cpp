#include "platform/profile/PrivateProfile.h"

#include "platform/profile/FileDescriptor.h"
#include "platform/profile/ProfileDocument.h"
#include "platform/profile/ProfileFileWriter.h"
#include "platform/profile/ProfileInteger.h"
#include "platform/profile/ProfileValue.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

namespace {

constexpr std::size_t kReadBlock = 64 * 1024;

// The whole file, an empty text when it does not exist, or nothing when it exists but
// cannot be read (a folder, a FIFO, a file we may not read).
std::optional<std::string> ReadProfileText(const char* fileName) {
    OpenFailure failure = OpenFailure::None;
    FileDescriptor file = FileDescriptor::OpenRegularForReading(fileName, failure);
    if (failure == OpenFailure::Missing)
        return std::string();
    if (!file.IsOpen())
        return std::nullopt;
    // A settings file is usually a few hundred bytes: a block one byte larger than the file
    // reads it at once, without setting up 64 KiB on every call.
    const std::size_t block = std::min(file.Size().value_or(kReadBlock) + 1, kReadBlock);
    std::string text;
    for (;;) {
        const std::size_t used = text.size();
        text.resize(used + block);
        const auto count = file.ReadSome(text.data() + used, block);
        if (!count)
            return std::nullopt;
        text.resize(used + *count);
        if (*count == 0)
            return text;
    }
}

std::optional<ProfileDocument> LoadDocument(const char* fileName) {
    auto text = ReadProfileText(fileName);
    if (!text)
        return std::nullopt;
    return ProfileDocument(std::move(*text));
}

// The stored value of a key, without enclosing quotes, while document lives.
std::optional<std::string_view> FindValue(const std::optional<ProfileDocument>& document,
                                          const char* section, const char* key) {
    if (!document)
        return std::nullopt;
    const auto value = document->Find(section, key);
    if (!value)
        return std::nullopt;
    return ProfileValue::Unquote(*value);
}

// A section name is written between brackets on a line of its own: a line break or a ']'
// in it would end the header early, and the name read back would be another.
bool CanStoreSection(std::string_view name) {
    return name.find_first_of("\r\n]") == std::string_view::npos;
}

// A key is written before the first '=' of its line: a line break or an '=' in it would
// end it early, and the value would land under another key. A key starting with ';' would
// make its line a comment, and one starting with '[' a section header when the value holds
// a ']'.
bool CanStoreKey(std::string_view name) {
    if (name.find_first_of("\r\n=") != std::string_view::npos)
        return false;
    const std::size_t first = name.find_first_not_of(" \t\v\f");
    return first == std::string_view::npos || (name[first] != ';' && name[first] != '[');
}

} // namespace

UINT GetPrivateProfileIntA(const char* section, const char* key, int defaultValue,
                           const char* fileName) {
    if (!section || !key || !fileName)
        return static_cast<UINT>(defaultValue);
    const auto document = LoadDocument(fileName);
    const auto value = FindValue(document, section, key);
    if (!value || value->empty())
        return static_cast<UINT>(defaultValue);
    return static_cast<UINT>(ProfileInteger::Read(*value));
}

DWORD GetPrivateProfileStringA(const char* section, const char* key, const char* defaultValue,
                               char* buffer, DWORD size, const char* fileName) {
    if (!buffer || size == 0)
        return 0;
    std::optional<ProfileDocument> document;
    if (section && key && fileName)
        document = LoadDocument(fileName);
    auto value = FindValue(document, section, key);
    if (!value) {
        // The original drops the default's trailing blanks; callers may rely on it.
        std::string_view fallback = defaultValue ? defaultValue : "";
        while (!fallback.empty() && (fallback.back() == ' ' || fallback.back() == '\t'))
            fallback.remove_suffix(1);
        value = fallback;
    }
    return static_cast<DWORD>(ProfileValue::CopyToBuffer(*value, buffer, size));
}

BOOL WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                const char* fileName) {
    if (!section || !key || !value || !fileName || !CanStoreSection(section) || !CanStoreKey(key))
        return FALSE;
    auto document = LoadDocument(fileName);
    if (!document)
        return FALSE;
    const std::string before = document->Text();
    std::string_view storedValue = value;
    storedValue = storedValue.substr(0, storedValue.find_first_of("\r\n"));
    document->Set(section, key, storedValue);
    // Writing an unchanged file again would only cost a disk flush.
    if (document->Text() == before)
        return TRUE;
    return ProfileFileWriter::Save(fileName, document->Text()) ? TRUE : FALSE;
}
