#include "towav/ArgumentParser.h"

#include <charconv>
#include <limits>
#include <optional>

namespace {

constexpr std::size_t kArgumentCount = 5;

struct NumberRule {
    const char* name;
    std::int32_t lowest;
    std::int32_t highest;
};

// The last voice number depends on the voices installed; the converter checks it.
constexpr NumberRule kVoiceRule{"VOICE", 0, std::numeric_limits<std::int32_t>::max()};
constexpr NumberRule kRateRule{"RATE", -10, 10};
constexpr NumberRule kVolumeRule{"VOLUME", 0, 100};

// The whole text must be the number: from_chars already refuses blanks and a plus sign.
std::optional<std::int32_t> ParseInteger(std::string_view text) {
    std::int32_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end)
        return std::nullopt;
    return value;
}

std::string Quoted(std::string_view text) {
    // Appended piece by piece: GCC 12 at -O3 sees a false overlap in "literal" + string&&.
    std::string quoted = "\"";
    quoted += text;
    quoted += '"';
    return quoted;
}

} // namespace

ArgumentParser::Result ArgumentParser::Parse(std::span<const std::string_view> arguments) {
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h"))
        return HelpRequested{};
    if (arguments.size() == 1 && arguments[0] == "--voices")
        return VoicesRequested{};
    if (arguments.size() != kArgumentCount)
        return Refused{"expected 5 arguments (INPUT OUTPUT VOICE RATE VOLUME), got " +
                       std::to_string(arguments.size()) + "; see towav.exe --help"};

    ConverterArguments parsed;
    parsed.inputPath = arguments[0];
    parsed.outputPath = arguments[1];
    const std::pair<const NumberRule&, std::int32_t&> numbers[] = {
        {kVoiceRule, parsed.voiceNumber},
        {kRateRule, parsed.rate},
        {kVolumeRule, parsed.volume},
    };
    std::size_t position = 2;
    for (const auto& [rule, value] : numbers) {
        const std::string_view text = arguments[position++];
        const auto number = ParseInteger(text);
        if (!number)
            return Refused{std::string(rule.name) + " must be a whole number, not " + Quoted(text)};
        if (*number < rule.lowest || *number > rule.highest)
            return Refused{std::string(rule.name) + " must lie between " +
                           std::to_string(rule.lowest) + " and " + std::to_string(rule.highest) +
                           ", not " + std::string(text)};
        value = *number;
    }
    return parsed;
}
