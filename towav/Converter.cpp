#include "towav/Converter.h"

#include "runtime/speech/AudioSink.h"
#include "runtime/speech/SpeechEngines.h"
#include "runtime/speech/SpeechSynthesizer.h"
#include "runtime/speech/VoiceCatalog.h"
#include "towav/AtomicFile.h"
#include "towav/ConverterArguments.h"
#include "towav/InputText.h"
#include "towav/OutputFormat.h"
#include "towav/ParallelSynthesis.h"
#include "towav/ProgressLine.h"
#include "towav/QuietStandardError.h"
#include "towav/SoundFileWriter.h"

#include <cerrno>
#include <cstring>
#include <variant>

namespace {

using Failure = Converter::Failure;
using Status = Converter::Status;

// The voices the converter numbers, or why there are none.
std::variant<std::vector<VoiceInfo>, Failure> Voices(SpeechEngines& engines) {
    if (!engines.IsReady())
        return Failure{Status::Failed, "no speech engine could start"};
    return VoiceCatalog::List(engines);
}

// The voice's identifier, or why the number names no voice. Voice numbers count from 1
// in the runtime's voice order; 0 stands for the first voice.
std::variant<std::string, Failure> ChooseVoice(SpeechEngines& engines, std::int32_t number) {
    auto voices = Voices(engines);
    if (auto* failure = std::get_if<Failure>(&voices))
        return std::move(*failure);
    const auto& list = std::get<std::vector<VoiceInfo>>(voices);
    const std::size_t index = number == 0 ? 0 : static_cast<std::size_t>(number) - 1;
    if (index >= list.size())
        return Failure{Status::Refused, "VOICE " + std::to_string(number) +
                                            " is past the last voice; there are " +
                                            std::to_string(list.size())};
    return list[index].identifier;
}

std::optional<Failure> Speak(SpeechEngines& engines, const std::string& text,
                             const SpeechSettings& settings, AtomicFile& output,
                             ProgressLine& progress) {
    SoundFileWriter writer(output, OutputFormat::ForPath(output.Target()), AudioSink::kSampleRate);
    if (!writer.IsOpen())
        return Failure{Status::Failed, writer.Error()};
    SpeechSynthesizer synthesizer(engines);
    // An empty text gives an empty sound, not the short silence a voice makes of it.
    const bool spoken =
        text.empty() ||
        ParallelSynthesis::Speak(
            text, settings, synthesizer, ParallelSynthesis::AvailableProcesses(),
            [&](std::span<const std::int16_t> samples) { return writer.Append(samples); },
            progress);
    if (!spoken)
        return Failure{Status::Failed, writer.Error().empty() ? "the voice could not speak the text"
                                                              : writer.Error()};
    if (!writer.Finish())
        return Failure{Status::Failed, writer.Error()};
    if (!output.Commit())
        return Failure{Status::Failed, output.Error()};
    return std::nullopt;
}

} // namespace

std::optional<Failure> Converter::Convert(const ConverterArguments& arguments) {
    const auto text = InputText::Read(arguments.inputPath);
    if (!text)
        return Failure{Status::Failed,
                       "cannot read " + arguments.inputPath + ": " + std::strerror(errno)};

    ProgressLine progress(text->size());
    const QuietStandardError quiet;
    SpeechEngines engines;
    const auto voice = ChooseVoice(engines, arguments.voiceNumber);
    if (const auto* failure = std::get_if<Failure>(&voice))
        return *failure;

    AtomicFile output(arguments.outputPath);
    if (!output.IsOpen())
        return Failure{Status::Failed, output.Error()};
    return Speak(engines, *text, {std::get<std::string>(voice), arguments.rate, arguments.volume},
                 output, progress);
}

std::optional<Failure> Converter::ListVoices(std::ostream& output) {
    std::variant<std::vector<VoiceInfo>, Failure> voices;
    {
        const QuietStandardError quiet;
        SpeechEngines engines;
        voices = Voices(engines);
    }
    if (auto* failure = std::get_if<Failure>(&voices))
        return *failure;
    std::size_t number = 0;
    for (const VoiceInfo& voice : std::get<std::vector<VoiceInfo>>(voices))
        output << ++number << '\t' << voice.description << '\n';
    return std::nullopt;
}
