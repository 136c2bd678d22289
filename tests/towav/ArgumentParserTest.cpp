#include "towav/ArgumentParser.h"

#include <gtest/gtest.h>

#include <ranges>
#include <vector>

namespace {

// What the parser makes of a command line written with '|' between the arguments (so that
// empty ones show): the five arguments as it took them, written the same way, "help",
// "voices", or its refusal.
std::string Outcome(std::string_view line) {
    std::vector<std::string_view> arguments;
    for (const auto argument : std::views::split(line, '|'))
        arguments.emplace_back(argument.begin(), argument.end());
    const auto result = ArgumentParser::Parse(arguments);
    if (const auto* refused = std::get_if<ArgumentParser::Refused>(&result))
        return refused->message;
    if (!std::holds_alternative<ConverterArguments>(result))
        return std::holds_alternative<ArgumentParser::HelpRequested>(result) ? "help" : "voices";
    const auto& taken = std::get<ConverterArguments>(result);
    std::string written = taken.inputPath;
    for (const std::string& field : {taken.outputPath, std::to_string(taken.voiceNumber),
                                     std::to_string(taken.rate), std::to_string(taken.volume)})
        written += "|" + field;
    return written;
}

// A row is what the outcome begins with (nothing: the command line itself, taken as
// written), '>', then the command line. A refusal is one line that begins with what is at
// fault.
TEST(ArgumentParser, TakesPlainNumbersInTheirRangesAndNamesWhatItRefuses) {
    constexpr std::string_view kRows[] = {
        ">in|out file.wav|0|-10|0", ">a|b|3|10|100",       "help>--help",
        "voices>--voices",          "expected 5>",         "expected 5>--help|x",
        "expected 5>--voices|x",    "expected 5>a|b|1|0",  "expected 5>a|b|1|0|100|x",
        "VOICE>a|b|5x|0|100",       "RATE>a|b|1||100",     "VOLUME>a|b|1|0| 5",
        "VOICE>a|b|+1|0|100",       "VOICE>a|b|0x1|0|100", "VOICE>a|b|9999999999|0|1",
        "VOICE>a|b|-1|0|100",       "RATE>a|b|1|11|100",   "RATE>a|b|1|-11|100",
        "VOLUME>a|b|1|0|101",       "VOLUME>a|b|1|0|-1"};
    for (const std::string_view row : kRows) {
        const std::string_view line = row.substr(row.find('>') + 1);
        const std::string_view begins = row.substr(0, row.find('>'));
        const std::string outcome = Outcome(line);
        EXPECT_TRUE(outcome.starts_with(begins.empty() ? line : begins)) << row << ": " << outcome;
        EXPECT_EQ(outcome.find('\n'), std::string::npos) << outcome;
    }
}

} // namespace
