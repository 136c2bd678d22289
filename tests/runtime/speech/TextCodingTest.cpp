#include "runtime/speech/TextCoding.h"

#include <gtest/gtest.h>

namespace {

struct Coding {
    const char* name;
    std::u16string utf16;
    std::string utf8;
};

class TextCodingTest : public ::testing::TestWithParam<Coding> {};

TEST_P(TextCodingTest, ConvertsBothWays) {
    EXPECT_EQ(TextCoding::Utf16ToUtf8(GetParam().utf16), GetParam().utf8);
    EXPECT_EQ(TextCoding::Utf8ToUtf16(GetParam().utf8), GetParam().utf16);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, TextCodingTest,
    ::testing::Values(Coding{"Ascii", u"Hello", "Hello"},
                      Coding{"Latin", u"Gr\u00FC\u00DFe",
                             "Gr\xC3\xBC\xC3\x9F"
                             "e"},
                      Coding{"Chinese", u"\u4F60\u597D", "\xE4\xBD\xA0\xE5\xA5\xBD"},
                      Coding{"OutsideTheBasicPlane", u"\U0001F600", "\xF0\x9F\x98\x80"}),
    [](const ::testing::TestParamInfo<Coding>& info) { return info.param.name; });

TEST(TextCodingDamageTest, BrokenInputBecomesReplacementCharacters) {
    EXPECT_EQ(TextCoding::Utf16ToUtf8(std::u16string(1, u'\xD800') + u"a"), "\xEF\xBF\xBD"
                                                                            "a");
    EXPECT_EQ(TextCoding::Utf8ToUtf16("\xC3"), u"\uFFFD");
    EXPECT_EQ(TextCoding::Utf8ToUtf16("\xC0\xAF"), u"\uFFFD"); // overlong '/'
}

} // namespace
