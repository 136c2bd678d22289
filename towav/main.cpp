// towav.exe INPUT OUTPUT VOICE RATE VOLUME: the converter the dialog starts to export its
// text as a sound file.
#include "towav/ArgumentParser.h"
#include "towav/Converter.h"

#include <iostream>
#include <malloc.h>
#include <string_view>
#include <vector>

namespace {

// The voices allocate and free blocks of a few hundred kilobytes for every sentence. By
// default the C library hands such blocks back to the system at once and takes them anew,
// paying a page fault for every 4 KiB each time: for Flite that was a tenth of the
// converter's time. Kept up to these sizes, the memory is used again instead.
constexpr int kLargestBlockFromTheHeap = 32 * 1024 * 1024;
constexpr int kFreeMemoryKept = 64 * 1024 * 1024;

int Report(const Converter::Failure& failure) {
    std::cerr << "towav.exe: " << failure.message << '\n';
    return static_cast<int>(failure.status);
}

} // namespace

int main(int argc, char** argv) {
    mallopt(M_MMAP_THRESHOLD, kLargestBlockFromTheHeap);
    mallopt(M_TRIM_THRESHOLD, kFreeMemoryKept);
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
