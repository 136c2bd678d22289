#include "runtime/speech/AudioOutput.h"

#include "runtime/speech/NullSink.h"
#include "runtime/speech/PcAudioSink.h"
#include "runtime/speech/WavFileSink.h"

#include <cstdlib>
#include <string_view>

std::shared_ptr<AudioSink> AudioOutput::OpenConfigured() {
    const char* setting = std::getenv("MURMELO_AUDIO");
    if (!setting || !*setting)
        return PcAudioSink::Open();
    const std::string_view choice = setting;
    if (choice == "null")
        return std::make_shared<NullSink>();
    constexpr std::string_view kWavPrefix = "wav:";
    if (choice.starts_with(kWavPrefix) && choice.size() > kWavPrefix.size())
        return WavFileSink::Open(std::string(choice.substr(kWavPrefix.size())));
    // An unknown choice opens nothing rather than surprising the user with a device.
    return nullptr;
}
