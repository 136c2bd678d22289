#include "tests/support/CaseName.h"
#include "tests/support/FileBytes.h"

#include "platform/profile/PrivateProfile.h"

#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

constexpr const char* kFile = "./set.ini";

struct StringCase {
    const char* name;
    friend void PrintTo(const StringCase& c, std::ostream* out) { *out << c.name; }
    std::string file;
    const char* section;
    const char* key;
    std::string expected; // "<default>" when the default must come back
};

const std::vector<StringCase> kStringCases = {
    {"ExactNames", "[Setting]\r\nRate=5\r\n", "Setting", "Rate", "5"},
    {"NamesIgnoreCase", "[sETTING]\r\nrATE=5\r\n", "Setting", "Rate", "5"},
    {"BlanksAroundNamesAndValue", "  [ Setting ]  \r\n\t Rate \t=  a b  \r\n", "Setting", "Rate",
     "a b"},
    {"LineFeedOnly", "[Setting]\nA=1\nRate=5\n", "Setting", "Rate", "5"},
    {"LastLineWithoutLineEnd", "[Setting]\r\nRate=5", "Setting", "Rate", "5"},
    {"FirstKeyWins", "[Setting]\r\nRate=1\r\nrate=2\r\n", "Setting", "Rate", "1"},
    {"FirstSectionWins", "[Setting]\r\nA=1\r\n[setting]\r\nRate=2\r\n", "Setting", "Rate",
     "<default>"},
    {"KeyOfAnotherSection", "[Other]\r\nRate=1\r\n[Setting]\r\n", "Setting", "Rate", "<default>"},
    {"KeyBeforeAnySection", "Rate=1\r\n[Setting]\r\n", "Setting", "Rate", "<default>"},
    {"CommentIsNoKey", "[Setting]\r\n;Rate=1\r\n  ; Rate=2\r\n", "Setting", "Rate", "<default>"},
    {"LineWithoutEqualsIsNoKey", "[Setting]\r\nRate\r\n", "Setting", "Rate", "<default>"},
    {"EqualsInValue", "[Setting]\r\nInputText=a=b\r\n", "Setting", "InputText", "a=b"},
    {"DoubleQuotesRemoved", "[Setting]\r\nRate=\"5\"\r\n", "Setting", "Rate", "5"},
    {"SingleQuotesRemoved", "[Setting]\r\nRate=' 5 '\r\n", "Setting", "Rate", " 5 "},
    {"EmptyQuotes", "[Setting]\r\nRate=\"\"\r\n", "Setting", "Rate", ""},
    {"UnmatchedQuoteStays", "[Setting]\r\nRate=\"5\r\n", "Setting", "Rate", "\"5"},
    {"LoneQuoteStays", "[Setting]\r\nRate=\"\r\n", "Setting", "Rate", "\""},
    {"EmptyValue", "[Setting]\r\nRate=\r\n", "Setting", "Rate", ""},
    {"ByteOrderMarkBeforeSection", "\xEF\xBB\xBF[Setting]\r\nRate=5\r\n", "Setting", "Rate", "5"},
};

class StringReading : public ::testing::TestWithParam<StringCase> {};

TEST_P(StringReading, FindsTheValue) {
    const StringCase& c = GetParam();
    WriteFile(kFile, c.file);
    std::string buffer(260, 'x');
    const DWORD length =
        GetPrivateProfileStringA(c.section, c.key, "<default>", buffer.data(), 260, kFile);
    EXPECT_EQ(std::string(buffer.c_str()), c.expected);
    EXPECT_EQ(length, c.expected.size());
}

INSTANTIATE_TEST_SUITE_P(PrivateProfile, StringReading, ::testing::ValuesIn(kStringCases),
                         CaseName());

struct IntegerCase {
    const char* name;
    friend void PrintTo(const IntegerCase& c, std::ostream* out) { *out << c.name; }
    const char* stored;
    int expected;
};

const std::vector<IntegerCase> kIntegerCases = {
    {"Decimal", "42", 42},
    {"Negative", "-1", -1},
    {"Quoted", "\"5\"", 5},
    {"TrailingLetters", "5abc", 5},
    {"Fraction", "3.7", 3},
    {"Letters", "abc", 0},
    {"BlankAfterSign", "- 5", 0},
    {"HexadecimalStopsAtG", "0x1fFg", 511},
    {"UpperCasePrefixIsNoPrefix", "0X1F", 0},
    {"Octal", "0o17", 15},
    {"OctalStopsAtEight", "0o18", 1},
    {"Binary", "0b101", 5},
    {"NegativeHexadecimal", "-0x10", -16},
    {"WrapsPastLargest", "2147483648", -2147483647 - 1},
    {"WrapsPast32Bits", "4294967301", 5},
    {"EmptyValueGivesDefault", "", 77},
    {"EmptyQuotesGiveDefault", "''", 77},
};

class IntegerReading : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(IntegerReading, ReadsLikeTheOriginal) {
    WriteFile(kFile, std::string("[Setting]\r\nRate=") + GetParam().stored + "\r\n");
    EXPECT_EQ(static_cast<int>(GetPrivateProfileIntA("Setting", "Rate", 77, kFile)),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(PrivateProfile, IntegerReading, ::testing::ValuesIn(kIntegerCases),
                         CaseName());

struct CutCase {
    const char* name;
    friend void PrintTo(const CutCase& c, std::ostream* out) { *out << c.name; }
    std::string stored;
    DWORD size;
    std::string expected;
};

std::string Repeat(const std::string& text, int count) {
    std::string repeated;
    for (int i = 0; i < count; ++i)
        repeated += text;
    return repeated;
}

// "\xE4\xBD\xA0" is a three-byte character, "\xF0\x9F\x98\x80" a four-byte one.
const std::vector<CutCase> kCutCases = {
    {"FitsExactly", "abc", 4, "abc"},
    {"CutAtSizeMinusOne", "abcdef", 4, "abc"},
    {"SizeOneGivesEmpty", "abc", 1, ""},
    {"ThreeByteCharacterLeftOutWhole", "ab\xE4\xBD\xA0", 4, "ab"},
    {"ThreeByteCharacterOneByteShort", "ab\xE4\xBD\xA0", 5, "ab"},
    {"ThreeByteCharacterFits", "ab\xE4\xBD\xA0z", 6, "ab\xE4\xBD\xA0"},
    {"FourByteCharacterLeftOutWhole", "\xF0\x9F\x98\x80", 4, ""},
    {"StrayContinuationBytesCutLikeBytes", "a\x80\x80\x80\x80", 3, "a\x80"},
    {"LongTextCutAt259", std::string(300, 'a'), 260, std::string(259, 'a')},
    {"LongChineseTextCutBeforeCharacter", Repeat("\xE4\xBD\xA0", 100), 260,
     Repeat("\xE4\xBD\xA0", 86)},
};

class BufferCut : public ::testing::TestWithParam<CutCase> {};

TEST_P(BufferCut, NeverSplitsACharacter) {
    const CutCase& c = GetParam();
    WriteFile(kFile, "[Setting]\r\nInputText=" + c.stored + "\r\n");
    std::string buffer(c.size + 8, '#');
    const DWORD length =
        GetPrivateProfileStringA("Setting", "InputText", "", buffer.data(), c.size, kFile);
    EXPECT_EQ(buffer.substr(0, length), c.expected);
    EXPECT_EQ(buffer[length], '\0');
    EXPECT_EQ(buffer.substr(c.size), std::string(8, '#')) << "wrote past the buffer";
}

INSTANTIATE_TEST_SUITE_P(PrivateProfile, BufferCut, ::testing::ValuesIn(kCutCases), CaseName());

TEST(PrivateProfileRead, DefaultLosesTrailingBlanksAndIsCut) {
    char buffer[4] = "";
    EXPECT_EQ(GetPrivateProfileStringA("Setting", "X", "ab  ", buffer, sizeof buffer, kFile), 2u);
    EXPECT_STREQ(buffer, "ab");
    EXPECT_EQ(GetPrivateProfileStringA("Setting", "X", "abcdef", buffer, sizeof buffer, kFile), 3u);
    EXPECT_STREQ(buffer, "abc");
}

TEST(PrivateProfileRead, ZeroSizeBufferIsNotTouched) {
    WriteFile(kFile, "[Setting]\r\nRate=5\r\n");
    char buffer = '#';
    EXPECT_EQ(GetPrivateProfileStringA("Setting", "Rate", "", &buffer, 0, kFile), 0u);
    EXPECT_EQ(buffer, '#');
}

// A name that is no regular file gives the defaults and is never replaced by a file.
TEST(PrivateProfileRead, MissingFileFolderOrFifoGivesDefaultsAndIsLeftAlone) {
    std::filesystem::create_directory("folder.ini");
    ASSERT_EQ(mkfifo("fifo.ini", 0644), 0);
    for (const char* path : {kFile, "./folder.ini", "./fifo.ini"}) {
        char buffer[16] = "untouched";
        EXPECT_EQ(GetPrivateProfileIntA("Setting", "Rate", 10, path), 10u) << path;
        EXPECT_EQ(GetPrivateProfileStringA("Setting", "Text", "none", buffer, sizeof buffer, path),
                  4u);
        EXPECT_STREQ(buffer, "none");
    }
    EXPECT_EQ(WritePrivateProfileStringA("Setting", "Rate", "1", "./folder.ini"), FALSE);
    EXPECT_EQ(WritePrivateProfileStringA("Setting", "Rate", "1", "./fifo.ini"), FALSE);
    EXPECT_TRUE(std::filesystem::is_directory("folder.ini"));
    EXPECT_TRUE(std::filesystem::is_fifo("fifo.ini"));
}

} // namespace
