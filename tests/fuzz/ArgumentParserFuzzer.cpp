// Feeds the converter's command-line parser random arguments (the input split at NUL
// bytes, as a command line cannot hold them). A number is taken exactly when a strict
// reading accepts it: one optional leading minus, then decimal digits and nothing else, with
// a value in the argument's range. A refused command line names the first number at fault.
#include "tests/fuzz/FuzzSupport.h"

#include "towav/ArgumentParser.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace {

constexpr struct {
    std::string_view name;
    std::int64_t lowest;
    std::int64_t highest;
} kNumbers[] = {{"VOICE", 0, INT32_MAX}, {"RATE", -10, 10}, {"VOLUME", 0, 100}};

// The strict reading, digit by digit. Values beyond the widest range read as just past it,
// so that any number of leading zeros or digits is judged correctly.
std::optional<std::int64_t> StrictNumber(std::string_view text) {
    const bool negative = text.starts_with('-');
    if (negative)
        text.remove_prefix(1);
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    std::int64_t value = 0;
    for (const char c : text)
        value = std::min(value * 10 + (c - '0'), std::int64_t{INT32_MAX} + 1);
    return negative ? -value : value;
}

std::vector<std::string_view> SplitAtNul(std::string_view data) {
    std::vector<std::string_view> arguments;
    for (std::size_t nul; (nul = data.find('\0')) != std::string_view::npos;
         data.remove_prefix(nul + 1))
        arguments.push_back(data.substr(0, nul));
    arguments.push_back(data);
    return arguments;
}

// The first number argument a strict reading refuses, or nothing when all are taken.
std::optional<std::size_t> FirstRefusedNumber(const std::vector<std::string_view>& arguments) {
    for (std::size_t i = 0; i < std::size(kNumbers); ++i) {
        const auto value = StrictNumber(arguments[2 + i]);
        if (!value || *value < kNumbers[i].lowest || *value > kNumbers[i].highest)
            return i;
    }
    return std::nullopt;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string_view> arguments =
        SplitAtNul(std::string_view(reinterpret_cast<const char*>(data), size));
    const ArgumentParser::Result result = ArgumentParser::Parse(arguments);

    const bool alone = arguments.size() == 1;
    const bool asksForHelp = alone && (arguments[0] == "--help" || arguments[0] == "-h");
    if (asksForHelp != std::holds_alternative<ArgumentParser::HelpRequested>(result))
        ReportFuzzFailure("help was given for the wrong command line");
    const bool asksForVoices = alone && arguments[0] == "--voices";
    if (asksForVoices != std::holds_alternative<ArgumentParser::VoicesRequested>(result))
        ReportFuzzFailure("the voice list was given for the wrong command line");
    if (asksForHelp || asksForVoices)
        return 0;

    const auto* refused = std::get_if<ArgumentParser::Refused>(&result);
    if (refused && refused->message.empty())
        ReportFuzzFailure("a refusal without a message");
    if (arguments.size() != 5) {
        if (!refused)
            ReportFuzzFailure("a command line without five arguments was taken");
        return 0;
    }
    if (const auto fault = FirstRefusedNumber(arguments)) {
        if (!refused)
            ReportFuzzFailure("a number outside the strict reading was taken",
                              arguments[2 + *fault]);
        if (!refused->message.starts_with(kNumbers[*fault].name))
            ReportFuzzFailure("the refusal names another argument", refused->message);
        return 0;
    }
    if (refused)
        ReportFuzzFailure("a strictly valid command line was refused", refused->message);
    const ConverterArguments& taken = std::get<ConverterArguments>(result);
    const std::int64_t numbers[] = {taken.voiceNumber, taken.rate, taken.volume};
    for (std::size_t i = 0; i < std::size(kNumbers); ++i) {
        if (numbers[i] != StrictNumber(arguments[2 + i]))
            ReportFuzzFailure("a number was taken with another value", arguments[2 + i]);
    }
    if (taken.inputPath != arguments[0] || taken.outputPath != arguments[1])
        ReportFuzzFailure("a path was not taken as given");
    return 0;
}
