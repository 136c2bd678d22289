#include "platform/text/AnsiCodePage.h"
#include "tests/support/CaseName.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {

struct Coding {
    const char* name;
    std::u16string wide;
    std::string ansi;
};

void PrintTo(const Coding& coding, std::ostream* os) {
    *os << coding.name;
}

class AnsiCodePageRoundTrip : public testing::TestWithParam<Coding> {};

} // namespace

TEST_P(AnsiCodePageRoundTrip, ConvertsBothWays) {
    EXPECT_EQ(AnsiCodePage::ToWide(GetParam().ansi), GetParam().wide);
    EXPECT_EQ(AnsiCodePage::FromWide(GetParam().wide).str(), GetParam().ansi);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, AnsiCodePageRoundTrip,
    testing::Values(Coding{"Ascii", u"Hello", "Hello"},
                    Coding{"Latin", u"Gr\u00FC\u00DFe",
                           "Gr\xC3\xBC\xC3\x9F"
                           "e"},
                    Coding{"Chinese", u"\u767D\u65E5", "\xE7\x99\xBD\xE6\x97\xA5"},
                    Coding{"OutsideTheBasicPlane", u"\U0001F600", "\xF0\x9F\x98\x80"}),
    CaseName());

TEST(AnsiCodePage, BrokenInputBecomesReplacementCharactersAndNothingIsLost) {
    // A stray continuation byte, a truncated sequence at the end, an overlong form and an
    // encoded surrogate: each bad byte stands for itself, the good ones around it survive.
    EXPECT_EQ(AnsiCodePage::ToWide("a\x80"
                                   "b"),
              u"a\uFFFDb");
    EXPECT_EQ(AnsiCodePage::ToWide("x\xE4\xBD"), u"x\uFFFD\uFFFD");
    EXPECT_EQ(AnsiCodePage::ToWide("\xC0\xAF"), u"\uFFFD\uFFFD");
    EXPECT_EQ(AnsiCodePage::ToWide("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");
    // An unpaired surrogate on the wide side.
    EXPECT_EQ(AnsiCodePage::FromWide(std::u16string(1, u'\xD800') + u"a").str(), "\xEF\xBF\xBD"
                                                                                 "a");
}
