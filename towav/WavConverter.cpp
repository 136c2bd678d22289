#include "towav/WavConverter.h"

#include "runtime/speech/EspeakEngine.h"
#include "runtime/speech/SpeechSynthesizer.h"
#include "runtime/speech/VoiceCatalog.h"
#include "towav/AtomicFile.h"
#include "towav/ConverterArguments.h"
#include "towav/InputText.h"
#include "towav/QuietStandardError.h"
#include "towav/WavFileWriter.h"

#include <cerrno>
#include <cstring>
#include <variant>

namespace {

using Failure = WavConverter::Failure;
using Status = WavConverter::Status;

// The voice's identifier, or why the number names no voice. Voice numbers count from 1
// in the runtime's voice order; 0 stands for the first voice.
std::variant<std::string, Failure> ChooseVoice(EspeakEngine& engine, std::int32_t number) {
    if (!engine.IsReady())
        return Failure{Status::Failed, "eSpeak NG could not start (is its voice data installed?)"};
    const auto voices = VoiceCatalog::List(engine);
    const std::size_t index = number == 0 ? 0 : static_cast<std::size_t>(number) - 1;
    if (index >= voices.size())
        return Failure{Status::Refused, "VOICE " + std::to_string(number) +
                                            " is past the last voice; there are " +
                                            std::to_string(voices.size())};
    return voices[index].identifier;
}

std::optional<Failure> Speak(EspeakEngine& engine, const std::string& text,
                             const SpeechSettings& settings, AtomicFile& output) {
    WavFileWriter wav(output);
    // An empty text gives an empty sound, not the short silence eSpeak NG makes of it.
    const bool spoken =
        text.empty() || SpeechSynthesizer(engine).Synthesize(
                            text, settings, [&](std::span<const std::int16_t> samples) {
                                return wav.Append(samples);
                            });
    if (!spoken)
        return Failure{Status::Failed,
                       wav.Error().empty() ? "eSpeak NG could not speak the text" : wav.Error()};
    if (!wav.Finish() || !output.Commit())
        return Failure{Status::Failed, wav.Error().empty() ? output.Error() : wav.Error()};
    return std::nullopt;
}

} // namespace

std::optional<Failure> WavConverter::Convert(const ConverterArguments& arguments) {
    const auto text = InputText::Read(arguments.inputPath);
    if (!text)
        return Failure{Status::Failed,
                       "cannot read " + arguments.inputPath + ": " + std::strerror(errno)};

    const QuietStandardError quiet;
    EspeakEngine engine;
    const auto voice = ChooseVoice(engine, arguments.voiceNumber);
    if (const auto* failure = std::get_if<Failure>(&voice))
        return *failure;

    AtomicFile output(arguments.outputPath);
    if (!output.IsOpen())
        return Failure{Status::Failed, output.Error()};
    return Speak(engine, *text, {std::get<std::string>(voice), arguments.rate, arguments.volume},
                 output);
}
