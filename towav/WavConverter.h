#pragma once

#include <optional>
#include <string>

struct ConverterArguments;

// Speaks a text file into a WAV file, the converter's one job.
class WavConverter {
  public:
    // Exit statuses of the converter, as its usage text lists them.
    enum class Status { Converted = 0, Failed = 1, Refused = 2 };

    struct Failure {
        Status status;
        // One line for the user.
        std::string message;
    };

    // Nothing when the WAV file was written; otherwise why not. The output is replaced
    // only on success.
    static std::optional<Failure> Convert(const ConverterArguments& arguments);
};
