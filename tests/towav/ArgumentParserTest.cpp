#include "towav/ArgumentParser.h"

#include "tests/support/CaseName.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Arguments = std::vector<std::string_view>;

TEST(ArgumentParser, TakesTheFiveArgumentsInOrderWithTheRangeEnds) {
    const auto low = ArgumentParser::Parse(Arguments{"in.txt", "out file.wav", "0", "-10", "0"});
    const auto* parsed = std::get_if<ConverterArguments>(&low);
    ASSERT_NE(parsed, nullptr);
    EXPECT_EQ(parsed->inputPath, "in.txt");
    EXPECT_EQ(parsed->outputPath, "out file.wav");
    EXPECT_EQ(parsed->voiceNumber, 0);
    EXPECT_EQ(parsed->rate, -10);
    EXPECT_EQ(parsed->volume, 0);
    const auto high = ArgumentParser::Parse(Arguments{"a", "b", "3", "10", "100"});
    parsed = std::get_if<ConverterArguments>(&high);
    ASSERT_NE(parsed, nullptr);
    EXPECT_EQ(parsed->voiceNumber, 3);
    EXPECT_EQ(parsed->rate, 10);
    EXPECT_EQ(parsed->volume, 100);
}

TEST(ArgumentParser, HelpAndVoicesOnlyAloneAndFiveArgumentsOtherwise) {
    using Refused = ArgumentParser::Refused;
    EXPECT_TRUE(std::holds_alternative<ArgumentParser::HelpRequested>(
        ArgumentParser::Parse(Arguments{"--help"})));
    EXPECT_TRUE(std::holds_alternative<ArgumentParser::VoicesRequested>(
        ArgumentParser::Parse(Arguments{"--voices"})));
    for (const Arguments& arguments :
         {Arguments{"--help", "x"}, Arguments{"--voices", "x"}, Arguments{},
          Arguments{"a", "b", "1", "0"}, Arguments{"a", "b", "1", "0", "100", "x"}})
        EXPECT_TRUE(std::holds_alternative<Refused>(ArgumentParser::Parse(arguments)));
}

struct RefusedNumber {
    const char* name;
    const char* voice;
    const char* rate;
    const char* volume;
    const char* blamed; // the argument the message must name
};

void PrintTo(const RefusedNumber& row, std::ostream* os) {
    *os << row.name;
}

class ArgumentParserRefuses : public testing::TestWithParam<RefusedNumber> {};

TEST_P(ArgumentParserRefuses, NamesTheArgumentOnOneLine) {
    const RefusedNumber& row = GetParam();
    const auto result =
        ArgumentParser::Parse(Arguments{"in.txt", "out.wav", row.voice, row.rate, row.volume});
    const auto* refused = std::get_if<ArgumentParser::Refused>(&result);
    ASSERT_NE(refused, nullptr);
    EXPECT_TRUE(refused->message.starts_with(row.blamed)) << refused->message;
    EXPECT_EQ(refused->message.find('\n'), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Numbers, ArgumentParserRefuses,
                         testing::Values(RefusedNumber{"TrailingLetter", "5x", "0", "100", "VOICE"},
                                         RefusedNumber{"Empty", "1", "", "100", "RATE"},
                                         RefusedNumber{"LeadingBlank", "1", "0", " 5", "VOLUME"},
                                         RefusedNumber{"PlusSign", "+1", "0", "100", "VOICE"},
                                         RefusedNumber{"Hexadecimal", "0x1", "0", "100", "VOICE"},
                                         RefusedNumber{"Overflow", "99999999999", "0", "100",
                                                       "VOICE"},
                                         RefusedNumber{"NegativeVoice", "-1", "0", "100", "VOICE"},
                                         RefusedNumber{"RateTooHigh", "1", "11", "100", "RATE"},
                                         RefusedNumber{"RateTooLow", "1", "-11", "100", "RATE"},
                                         RefusedNumber{"VolumeTooHigh", "1", "0", "101", "VOLUME"},
                                         RefusedNumber{"VolumeNegative", "1", "0", "-1", "VOLUME"}),
                         CaseName());

} // namespace
