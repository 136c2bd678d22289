// Feeds the converter's command-line parser random arguments (the input split at NUL
// bytes, as a command line cannot hold them). A number is taken exactly when a strict
// reading accepts it: one optional leading minus, then decimal digits and nothing else, with
// a value in the argument's range. A refused command line names the first number at fault.
#include "tests/fuzz/FuzzSupport.h"

#include "towav/ArgumentParser.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace {

struct NumberArgument {
    std::string_view name;
    std::int64_t lowest;
    std::int64_t highest;
};

constexpr NumberArgument kNumbers[] = {
    {"VOICE", 0, INT32_MAX},
    {"RATE", -10, 10},
    {"VOLUME", 0, 100},
};

// The strict reading, digit by digit. Values beyond the widest range read as just past it,
// so that any number of leading zeros or digits is judged correctly.
std::optional<std::int64_t> StrictNumber(std::string_view text) {
    const bool negative = !text.empty() && text.front() == '-';
    if (negative)
        text.remove_prefix(1);
    if (text.empty())
        return std::nullopt;
    constexpr std::int64_t kPastAnyRange = std::int64_t{INT32_MAX} + 1;
    std::int64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
        if (value > kPastAnyRange)
            value = kPastAnyRange;
    }
    return negative ? -value : value;
}

std::vector<std::string_view> SplitAtNul(std::string_view data) {
    std::vector<std::string_view> arguments;
    for (;;) {
        const std::size_t nul = data.find('\0');
        arguments.push_back(data.substr(0, nul));
        if (nul == std::string_view::npos)
            return arguments;
        data.remove_prefix(nul + 1);
    }
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

void CheckTaken(const std::vector<std::string_view>& arguments, const ConverterArguments& taken) {
    const std::int64_t numbers[] = {taken.voiceNumber, taken.rate, taken.volume};
    for (std::size_t i = 0; i < std::size(kNumbers); ++i) {
        if (numbers[i] != StrictNumber(arguments[2 + i]))
            ReportFuzzFailure("a number was taken with another value", arguments[2 + i]);
    }
    if (taken.inputPath != arguments[0] || taken.outputPath != arguments[1])
        ReportFuzzFailure("a path was not taken as given");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::string_view> arguments =
        SplitAtNul(std::string_view(reinterpret_cast<const char*>(data), size));
    const ArgumentParser::Result result = ArgumentParser::Parse(arguments);

    const bool asksForHelp =
        arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h");
    if (asksForHelp != std::holds_alternative<ArgumentParser::HelpRequested>(result))
        ReportFuzzFailure("help was given for the wrong command line");
    if (asksForHelp)
        return 0;
    const bool asksForVoices = arguments.size() == 1 && arguments[0] == "--voices";
    if (asksForVoices != std::holds_alternative<ArgumentParser::VoicesRequested>(result))
        ReportFuzzFailure("the voice list was given for the wrong command line");
    if (asksForVoices)
        return 0;

    const auto* refused = std::get_if<ArgumentParser::Refused>(&result);
    if (refused && refused->message.empty())
        ReportFuzzFailure("a refusal without a message");
    if (arguments.size() != 5) {
        if (!refused)
            ReportFuzzFailure("a command line without five arguments was taken");
        return 0;
    }

    const auto fault = FirstRefusedNumber(arguments);
    if (!fault) {
        if (refused)
            ReportFuzzFailure("a strictly valid command line was refused", refused->message);
        CheckTaken(arguments, std::get<ConverterArguments>(result));
        return 0;
    }
    if (!refused)
        ReportFuzzFailure("a number outside the strict reading was taken", arguments[2 + *fault]);
    if (!refused->message.starts_with(kNumbers[*fault].name))
        ReportFuzzFailure("the refusal names another argument", refused->message);
    return 0;
}
