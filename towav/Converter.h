#pragma once

#include <optional>
#include <ostream>
#include <string>

struct ConverterArguments;

// Speaks a text file into a sound file, the converter's one job, and lists the voices it
// speaks with.
class Converter {
  public:
    // Exit statuses of the converter, as its usage text lists them.
    enum class Status { Converted = 0, Failed = 1, Refused = 2 };

    struct Failure {
        Status status;
        // One line for the user.
        std::string message;
    };

    // Nothing when the sound file was written; otherwise why not. The output is replaced
    // only on success.
    static std::optional<Failure> Convert(const ConverterArguments& arguments);

    // Writes one "number<TAB>description" line per voice, numbered as VOICE counts them.
    static std::optional<Failure> ListVoices(std::ostream& output);
};
