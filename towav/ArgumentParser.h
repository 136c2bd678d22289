#pragma once

#include "towav/ConverterArguments.h"

#include <span>
#include <string>
#include <string_view>
#include <variant>

// Reads the converter's command line. Numbers are taken only in their plain decimal form
// ("-3", "80"): signs other than one leading minus, blanks, trailing characters and values
// out of range are refused, so a mistyped command never converts with a guessed value.
class ArgumentParser {
  public:
    struct HelpRequested {};
    struct Refused {
        // One line for the user, naming the argument at fault.
        std::string message;
    };
    using Result = std::variant<ConverterArguments, HelpRequested, Refused>;

    static constexpr std::string_view kUsage =
        "Usage: towav.exe INPUT OUTPUT VOICE RATE VOLUME\n"
        "Speaks the UTF-8 text in the file INPUT into OUTPUT, a WAV file (22050 Hz, mono,\n"
        "16-bit PCM).\n"
        "  VOICE   voice number, 1 for the first installed voice; 0 also picks the first\n"
        "  RATE    speaking rate, -10 (slowest) to 10 (fastest), 0 is normal\n"
        "  VOLUME  volume, 0 (silent) to 100 (normal)\n"
        "OUTPUT is replaced only once the whole file is written.\n"
        "Exit status: 0 done, 1 the conversion failed, 2 the arguments were refused.\n";

    // arguments: the command line without the program's own name.
    static Result Parse(std::span<const std::string_view> arguments);
};
