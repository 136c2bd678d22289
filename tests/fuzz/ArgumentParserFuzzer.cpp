// Feeds the converter's command-line parser random arguments (the input split at NUL
// bytes, as a command line cannot hold them). A number is taken exactly when a strict
// reading accepts it: one optional leading minus, then decimal digits and nothing else, with
// a value in the argument's range. A refused command line names the first number at fault.
#include "tests/fuzz/FuzzSupport.h"

#include "towav/ArgumentParser.h"

namespace {

constexpr struct {
    std::string_view name;
    std::int64_t lowest, highest;
} kNumbers[] = {{"VOICE", 0, INT32_MAX}, {"RATE", -10, 10}, {"VOLUME", 0, 100}};

// The strict reading, digit by digit, of the number argument i (0 for VOICE), when it lies
// in its range. Values beyond the widest range read as just past it, so that any number of
// leading zeros or digits is judged correctly.
std::optional<std::int64_t> StrictNumber(std::string_view text, std::size_t i) {
    const bool negative = text.starts_with('-');
    text.remove_prefix(negative ? 1 : 0);
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos)
        return std::nullopt;
    std::int64_t value = 0;
    for (const char c : text)
        value = std::min(value * 10 + (c - '0'), std::int64_t{INT32_MAX} + 1);
    value = negative ? -value : value;
    if (value < kNumbers[i].lowest || value > kNumbers[i].highest)
        return std::nullopt;
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string_view> arguments;
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    for (std::size_t nul; (nul = rest.find('\0')) != std::string_view::npos;
         rest.remove_prefix(nul + 1))
        arguments.push_back(rest.substr(0, nul));
    arguments.push_back(rest);
    const ArgumentParser::Result result = ArgumentParser::Parse(arguments);

    const bool alone = arguments.size() == 1;
    const bool asksForHelp = alone && (arguments[0] == "--help" || arguments[0] == "-h");
    FuzzCheck(asksForHelp == std::holds_alternative<ArgumentParser::HelpRequested>(result),
              "help was given for the wrong command line");
    const bool asksForVoices = alone && arguments[0] == "--voices";
    FuzzCheck(asksForVoices == std::holds_alternative<ArgumentParser::VoicesRequested>(result),
              "the voice list was given for the wrong command line");
    if (asksForHelp || asksForVoices)
        return 0;

    const auto* refused = std::get_if<ArgumentParser::Refused>(&result);
    FuzzCheck(!refused || !refused->message.empty(), "a refusal without a message");
    if (arguments.size() != 5)
        return FuzzCheck(refused, "a command line without five arguments was taken"), 0;
    for (std::size_t i = 0; i < std::size(kNumbers); ++i) {
        if (StrictNumber(arguments[2 + i], i))
            continue;
        FuzzCheck(refused, "a number outside the strict reading was taken", arguments[2 + i]);
        FuzzCheck(refused->message.starts_with(kNumbers[i].name),
                  "the refusal names another argument", refused->message);
        return 0;
    }
    FuzzCheck(!refused, "a strictly valid command line was refused",
              refused ? std::string_view(refused->message) : "");
    const ConverterArguments& taken = std::get<ConverterArguments>(result);
    const std::int64_t numbers[] = {taken.voiceNumber, taken.rate, taken.volume};
    for (std::size_t i = 0; i < std::size(kNumbers); ++i)
        FuzzCheck(numbers[i] == StrictNumber(arguments[2 + i], i),
                  "a number was taken with another value", arguments[2 + i]);
    FuzzCheck(taken.inputPath == arguments[0] && taken.outputPath == arguments[1],
              "a path was not taken as given");
    return 0;
}
