#include "runtime/speech/WideTextPieces.h"
#include "platform/text/AnsiCodePage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// A long text reaches the engines in pieces that together are the whole text, each but
// the last ending at a sentence end, and a character beyond the basic plane is never cut
// in two, wherever the pieces fall.
TEST(WideTextPieces, TheWholeTextArrivesInPiecesCutAtSentenceEnds) {
    std::u16string text;
    for (int i = 0; i < 20000; ++i)
        text += u"A sentence \U0001F600 ends here. ";
    std::vector<std::string> pieces;
    WideTextPieces source(text);
    for (std::string_view piece = source.Next(); !piece.empty(); piece = source.Next())
        pieces.emplace_back(piece);
    ASSERT_GT(pieces.size(), 4u);
    std::string joined;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        joined += pieces[i];
        EXPECT_TRUE(pieces[i].ends_with(". ")) << "piece " << i;
    }
    EXPECT_EQ(joined, AnsiCodePage::FromWide(text).str());
    // A text without sentence ends is still spoken whole, with the halves of a character
    // never split between two pieces.
    std::u16string unbroken = u"x";
    for (int i = 0; i < 100000; ++i)
        unbroken += u"\U0001F600";
    WideTextPieces plain(unbroken);
    joined.clear();
    for (std::string_view piece = plain.Next(); !piece.empty(); piece = plain.Next())
        joined += piece;
    EXPECT_EQ(joined, AnsiCodePage::FromWide(unbroken).str());
}

} // namespace
