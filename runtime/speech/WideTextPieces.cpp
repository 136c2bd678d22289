#include "runtime/speech/WideTextPieces.h"

#include "platform/text/AnsiCodePage.h"
#include "runtime/speech/TextRuns.h"

#include <algorithm>
#include <vector>

namespace {

// How much of the text is converted at a time, in UTF-16 units. A piece ends at the first
// sentence end past half of it, so a voice meets a cut it did not choose only in a text
// without sentence ends.
constexpr std::size_t kWindow = 65536;

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

// The UTF-16 length of a UTF-8 text converted from UTF-16: one unit for every character,
// two for one beyond the basic plane. A replaced unpaired surrogate is one character of
// three bytes, so it counts one as well.
std::size_t WideLength(std::string_view utf8) {
    std::size_t units = 0;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80)
            units += byte >= 0xF0 ? 2 : 1;
    }
    return units;
}

} // namespace

std::string_view WideTextPieces::Next() {
    if (m_position >= m_text.size())
        return {};
    std::size_t length = std::min(kWindow, m_text.size() - m_position);
    const bool last = m_position + length == m_text.size();
    // A window never ends between the two halves of a character.
    if (!last && IsHighSurrogate(m_text[m_position + length - 1]))
        --length;
    m_piece = AnsiCodePage::FromWide(m_text.substr(m_position, length));
    std::string_view piece = m_piece.str();
    if (!last) {
        const std::vector<TextRun> runs = TextRuns::Cut(piece, piece.size() / 2);
        if (runs.size() > 1) {
            piece = runs.front().text;
            length = WideLength(piece);
        }
    }
    m_position += length;
    return piece;
}
