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
    struct VoicesRequested {};
    struct Refused {
        // One line for the user, naming the argument at fault.
        std::string message;
    };
    using Result = std::variant<ConverterArguments, HelpRequested, VoicesRequested, Refused>;

    static constexpr std::string_view kUsage =
        "Usage: towav.exe INPUT OUTPUT VOICE RATE VOLUME\n"
        "       towav.exe --voices\n"
        "Speaks the UTF-8 text in the file INPUT into the sound file OUTPUT, mono, in the\n"
        "format its extension names (in any case):\n"
        "  .wav   WAV, 16-bit PCM at 22050 Hz (also for any other extension, or none)\n"
        "  .flac  FLAC, lossless, 22050 Hz\n"
        "  .ogg   Ogg Vorbis, quality 4, 22050 Hz\n"
        "  .opus  Ogg Opus, about 32 kbit/s, 48 kHz\n"
        "  .mp3   MP3, 64 kbit/s, 22050 Hz\n"
        "  VOICE   voice number, 1 for the first voice; 0 also picks the first\n"
        "  RATE    speaking rate, -10 (slowest) to 10 (fastest), 0 is normal\n"
        "  VOLUME  volume, 0 (silent) to 100 (normal)\n"
        "--voices lists the voices, one \"NUMBER<TAB>DESCRIPTION\" line each, in the order\n"
        "of the window's voice list.\n"
        "OUTPUT is replaced only once the whole file is written. A long text is spoken on\n"
        "every core; TOWAV_PROCESSES=N in the environment uses at most N processes.\n"
        "On a terminal, a line on standard error shows the progress.\n"
        "Exit status: 0 done, 1 the conversion failed, 2 the arguments were refused.\n";

    // arguments: the command line without the program's own name.
    static Result Parse(std::span<const std::string_view> arguments);
};
