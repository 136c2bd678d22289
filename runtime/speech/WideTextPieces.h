#pragma once

#include "platform/text/CString.h"

#include <cstddef>
#include <string>
#include <string_view>

// Hands a caller's UTF-16 text to the engines in UTF-8 pieces of a few ten thousand
// characters, cut at sentence or paragraph ends where the text has them. Only the piece
// being spoken exists in UTF-8, so a queue of many repetitions of one long text holds
// nothing but the caller's text itself, and the first sound does not wait for the whole
// text to be converted.
class WideTextPieces {
  public:
    // The text must outlive the pieces.
    explicit WideTextPieces(std::u16string_view text) : m_text(text) {}

    // The next piece, valid until the next call; empty once the text is used up.
    std::string_view Next();

  private:
    std::u16string_view m_text;
    std::size_t m_position = 0;
    CString m_piece;
};
