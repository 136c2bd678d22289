// towav.exe INPUT OUTPUT VOICE RATE VOLUME: the converter the dialog starts to export its
// text as a WAV file.
#include "towav/ArgumentParser.h"
#include "towav/WavConverter.h"

#include <iostream>
#include <string_view>
#include <vector>

namespace {

int Report(const WavConverter::Failure& failure) {
    std::cerr << "towav.exe: " << failure.message << '\n';
    return static_cast<int>(failure.status);
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const auto parsed = ArgumentParser::Parse(arguments);
    if (std::holds_alternative<ArgumentParser::HelpRequested>(parsed)) {
        std::cout << ArgumentParser::kUsage;
        return 0;
    }
    if (const auto* refused = std::get_if<ArgumentParser::Refused>(&parsed))
        return Report({WavConverter::Status::Refused, refused->message});
    if (const auto failure = WavConverter::Convert(std::get<ConverterArguments>(parsed)))
        return Report(*failure);
    return static_cast<int>(WavConverter::Status::Converted);
}
