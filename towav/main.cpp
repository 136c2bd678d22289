// towav.exe INPUT OUTPUT VOICE RATE VOLUME: the converter the dialog starts to export its
// text as a sound file.
#include "towav/ArgumentParser.h"
#include "towav/Converter.h"

#include <iostream>
#include <string_view>
#include <vector>

namespace {

int Report(const Converter::Failure& failure) {
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
        return Report({Converter::Status::Refused, refused->message});
    const auto failure = std::holds_alternative<ArgumentParser::VoicesRequested>(parsed)
                             ? Converter::ListVoices(std::cout)
                             : Converter::Convert(std::get<ConverterArguments>(parsed));
    if (failure)
        return Report(*failure);
    return static_cast<int>(Converter::Status::Converted);
}
