#include "towav/ArgumentParser.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Arguments = std::vector<std::string_view>;

ArgumentParser::Result Parse(const Arguments& arguments) {
    return ArgumentParser::Parse(arguments);
}

TEST(ArgumentParser, TakesTheFiveArgumentsInOrder) {
    const auto result = Parse({"in.txt", "out file.wav", "3", "-10", "0"});
    const auto* parsed = std::get_if<ConverterArguments>(&result);
    ASSERT_NE(parsed, nullptr);
    EXPECT_EQ(parsed->inputPath, "in.txt");
    EXPECT_EQ(parsed->outputPath, "out file.wav");
    EXPECT_EQ(parsed->voiceNumber, 3);
    EXPECT_EQ(parsed->rate, -10);
    EXPECT_EQ(parsed->volume, 0);
}

TEST(ArgumentParser, HelpOnlyAlone) {
    EXPECT_TRUE(std::holds_alternative<ArgumentParser::HelpRequested>(Parse({"--help"})));
    EXPECT_TRUE(std::holds_alternative<ArgumentParser::Refused>(Parse({"--help", "x"})));
}

struct RefusedNumber {
    const char* name;
    const char* voice;
    const char* rate;
    const char* volume;
    // The argument the message must name.
    const char* blamed;
};

class ArgumentParserRefuses : public testing::TestWithParam<RefusedNumber> {};

TEST_P(ArgumentParserRefuses, NamesTheArgument) {
    const RefusedNumber& row = GetParam();
    const auto result = Parse({"in.txt", "out.wav", row.voice, row.rate, row.volume});
    const auto* refused = std::get_if<ArgumentParser::Refused>(&result);
    ASSERT_NE(refused, nullptr);
    EXPECT_TRUE(refused->message.starts_with(row.blamed)) << refused->message;
    EXPECT_EQ(refused->message.find('\n'), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Numbers, ArgumentParserRefuses,
                         testing::Values(RefusedNumber{"TrailingLetter", "5x", "0", "100", "VOICE"},
                                         RefusedNumber{"Empty", "1", "", "100", "RATE"},
                                         RefusedNumber{"LeadingBlank", "1", "0", " 5", "VOLUME"},
                                         RefusedNumber{"TrailingBlank", "1", "0 ", "100", "RATE"},
                                         RefusedNumber{"PlusSign", "+1", "0", "100", "VOICE"},
                                         RefusedNumber{"TwoSigns", "1", "+-1", "100", "RATE"},
                                         RefusedNumber{"Fraction", "1", "0", "50.5", "VOLUME"},
                                         RefusedNumber{"Hexadecimal", "0x1", "0", "100", "VOICE"},
                                         RefusedNumber{"Overflow", "99999999999", "0", "100",
                                                       "VOICE"},
                                         RefusedNumber{"NegativeVoice", "-1", "0", "100", "VOICE"},
                                         RefusedNumber{"RateTooHigh", "1", "11", "100", "RATE"},
                                         RefusedNumber{"RateTooLow", "1", "-11", "100", "RATE"},
                                         RefusedNumber{"VolumeTooHigh", "1", "0", "101", "VOLUME"},
                                         RefusedNumber{"VolumeNegative", "1", "0", "-1", "VOLUME"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ArgumentParser, RangeEndsAreAccepted) {
    for (const Arguments& arguments :
         {Arguments{"a", "b", "0", "-10", "0"}, Arguments{"a", "b", "1", "10", "100"}})
        EXPECT_TRUE(std::holds_alternative<ConverterArguments>(Parse(arguments)));
}

TEST(ArgumentParser, RefusesAWrongCount) {
    for (const Arguments& arguments :
         {Arguments{}, Arguments{"a", "b", "1", "0"}, Arguments{"a", "b", "1", "0", "100", "x"}})
        EXPECT_TRUE(std::holds_alternative<ArgumentParser::Refused>(Parse(arguments)));
}

} // namespace
