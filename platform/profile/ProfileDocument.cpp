#include "platform/profile/ProfileDocument.h"

namespace {

constexpr std::string_view kLineEnd = "\r\n";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view left, std::string_view right) {
    if (left.size() != right.size())
        return false;
    for (std::size_t i = 0; i < left.size(); ++i) {
        if (LowerAscii(left[i]) != LowerAscii(right[i]))
            return false;
    }
    return true;
}

// One line of the file: its content without the line end, and where the next line starts.
struct Line {
    std::string_view content;
    std::size_t begin = 0;
    std::size_t next = 0;
    bool hasLineEnd = false;
};

Line LineAt(std::string_view text, std::size_t begin) {
    const std::size_t feed = text.find('\n', begin);
    Line line;
    line.begin = begin;
    line.hasLineEnd = feed != std::string_view::npos;
    line.next = line.hasLineEnd ? feed + 1 : text.size();
    std::size_t end = line.hasLineEnd ? feed : text.size();
    if (line.hasLineEnd && end > begin && text[end - 1] == '\r')
        --end;
    line.content = text.substr(begin, end - begin);
    return line;
}

std::optional<std::string_view> SectionName(std::string_view content) {
    const std::string_view trimmed = Trim(content);
    if (trimmed.empty() || trimmed.front() != '[')
        return std::nullopt;
    const std::size_t close = trimmed.find(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return Trim(trimmed.substr(1, close - 1));
}

struct KeyLine {
    std::string_view name;
    std::string_view value;
};

std::optional<KeyLine> ParseKey(std::string_view content) {
    const std::string_view trimmed = Trim(content);
    if (trimmed.empty() || trimmed.front() == ';')
        return std::nullopt;
    const std::size_t equals = trimmed.find('=');
    if (equals == std::string_view::npos)
        return std::nullopt;
    return KeyLine{Trim(trimmed.substr(0, equals)), Trim(trimmed.substr(equals + 1))};
}

} // namespace

ProfileDocument::ProfileDocument(std::string text)
    : m_text(std::move(text)),
      m_start(m_text.starts_with(kByteOrderMark) ? kByteOrderMark.size() : 0) {}

// What a lookup found: the value, if any, as a place in the text, and where a new key of
// the section would go.
struct ProfileDocument::Location {
    bool sectionFound = false;
    std::optional<std::string_view> value;
    std::size_t valueOffset = 0;
    std::size_t insertOffset = 0;
    bool insertNeedsLineEnd = false;
};

ProfileDocument::Location ProfileDocument::Locate(std::string_view section,
                                                  std::string_view key) const {
    const std::string_view text = m_text;
    section = Trim(section);
    key = Trim(key);
    Location location;
    bool inSection = false;
    for (std::size_t begin = m_start; begin < text.size();) {
        const Line line = LineAt(text, begin);
        begin = line.next;
        if (const auto name = SectionName(line.content)) {
            if (inSection)
                break;
            inSection = SameName(*name, section);
            if (inSection) {
                location.sectionFound = true;
                location.insertOffset = line.next;
                location.insertNeedsLineEnd = !line.hasLineEnd;
            }
            continue;
        }
        if (!inSection || Trim(line.content).empty())
            continue;
        // A new key goes after the section's last line that is not blank, so that the blank
        // lines separating it from the next section stay where they are.
        location.insertOffset = line.next;
        location.insertNeedsLineEnd = !line.hasLineEnd;
        const auto keyLine = ParseKey(line.content);
        if (keyLine && SameName(keyLine->name, key)) {
            location.value = keyLine->value;
            location.valueOffset = static_cast<std::size_t>(keyLine->value.data() - text.data());
            break;
        }
    }
    return location;
}

std::optional<std::string_view> ProfileDocument::Find(std::string_view section,
                                                      std::string_view key) const {
    return Locate(section, key).value;
}

void ProfileDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    const Location location = Locate(section, key);
    if (location.value) {
        m_text.replace(location.valueOffset, location.value->size(), value);
        return;
    }
    std::string addition;
    std::size_t offset = location.insertOffset;
    if (!location.sectionFound) {
        offset = m_text.size();
        if (m_text.size() > m_start && m_text.back() != '\n')
            addition += kLineEnd;
        addition.append("[").append(Trim(section)).append("]").append(kLineEnd);
    } else if (location.insertNeedsLineEnd) {
        addition += kLineEnd;
    }
    addition.append(Trim(key)).append("=").append(value).append(kLineEnd);
    m_text.insert(offset, addition);
}
