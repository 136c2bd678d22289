#include "runtime/speech/TextRuns.h"

#include <algorithm>
#include <array>

namespace {

// The longest first word taken as a run's head: enough for a word of any script, short
// enough to cost nothing to speak twice.
constexpr std::size_t kHeadLimit = 24;

// Full stops of Chinese and Japanese, which end a sentence without a following space.
constexpr std::array<std::string_view, 3> kWideSentenceEnds = {"\u3002", "\uFF01", "\uFF1F"};

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool IsAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsClosing(char c) {
    return c == '"' || c == '\'' || c == ')' || c == ']';
}

// A short capitalised word before a full stop is likely a title or an initial ("Mr.",
// "Dr.", "J."), after which a voice reads on without a pause.
bool IsLikelyAbbreviation(std::string_view before) {
    std::size_t letters = 0;
    while (letters < before.size() && IsAsciiLetter(before[before.size() - 1 - letters]))
        ++letters;
    if (letters == 0)
        return false;
    const char first = before[before.size() - letters];
    return letters <= 3 && first >= 'A' && first <= 'Z';
}

// A sentence that follows begins with a capital, a quote or bracket, or a letter of a
// script beyond ASCII; a digit or a small letter more likely continues the same sentence.
bool StartsSentence(std::string_view rest) {
    std::size_t at = 0;
    while (at < rest.size() && (rest[at] == '"' || rest[at] == '\'' || rest[at] == '('))
        ++at;
    if (at == rest.size())
        return false;
    const auto c = static_cast<unsigned char>(rest[at]);
    return (c >= 'A' && c <= 'Z') || c >= 0x80;
}

// Whether a stretch of whitespace holds a blank line, which ends a paragraph.
bool HoldsBlankLine(std::string_view space) {
    const std::size_t first = space.find('\n');
    return first != std::string_view::npos && space.find('\n', first + 1) != std::string_view::npos;
}

// Whether a run may begin at `at`, the first character after a stretch of whitespace
// (or after a wide full stop).
bool IsCut(std::string_view text, std::size_t spaceBegin, std::size_t at) {
    if (spaceBegin == 0 || at >= text.size())
        return false;
    for (const std::string_view stop : kWideSentenceEnds)
        if (text.substr(0, spaceBegin).ends_with(stop))
            return true;
    if (at > spaceBegin && HoldsBlankLine(text.substr(spaceBegin, at - spaceBegin)))
        return true;
    if (at == spaceBegin)
        return false;
    std::size_t end = spaceBegin;
    while (end > 0 && IsClosing(text[end - 1]))
        --end;
    if (end == 0)
        return false;
    const char stop = text[end - 1];
    if (stop != '.' && stop != '!' && stop != '?')
        return false;
    if (stop == '.' && IsLikelyAbbreviation(text.substr(0, end - 1)))
        return false;
    return StartsSentence(text.substr(at));
}

// The next place at or after `from` where a run may begin, or text.size().
std::size_t NextCut(std::string_view text, std::size_t from) {
    for (std::size_t at = from; at < text.size(); ++at) {
        const std::size_t spaceBegin = at;
        while (at < text.size() && IsSpace(text[at]))
            ++at;
        if (IsCut(text, spaceBegin, at))
            return at;
    }
    return text.size();
}

// The run's first word, never cut inside a UTF-8 character.
std::string_view HeadOf(std::string_view run) {
    std::size_t end = 0;
    while (end < run.size() && !IsSpace(run[end]) && end < kHeadLimit)
        ++end;
    while (end < run.size() && end > 0 && (static_cast<unsigned char>(run[end]) & 0xC0) == 0x80)
        --end;
    return run.substr(0, end);
}

} // namespace

std::vector<TextRun> TextRuns::Cut(std::string_view text, std::size_t targetLength) {
    std::vector<std::size_t> starts{0};
    while (starts.back() + targetLength < text.size()) {
        const std::size_t cut = NextCut(text, starts.back() + targetLength);
        if (cut >= text.size())
            break;
        starts.push_back(cut);
    }
    std::vector<TextRun> runs;
    for (std::size_t i = 0; i < starts.size(); ++i) {
        const std::size_t end = i + 1 < starts.size() ? starts[i + 1] : text.size();
        runs.push_back({text.substr(starts[i], end - starts[i]),
                        end < text.size() ? HeadOf(text.substr(end)) : std::string_view(),
                        starts[i]});
    }
    return runs;
}
