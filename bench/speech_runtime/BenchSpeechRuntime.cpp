// Measures the speech runtime on one English text: how soon the first sound reaches the
// output after Speak, how soon the sound stops after a purge, how long a purge takes when
// the output does not answer, how soon a volume change is heard, and how much sound it
// synthesizes per second of processor time, next to eSpeak NG's own command line. The
// first sound and the purge are measured again with Flite's slt voice on 5,000 characters.
#include "platform/ole/COleVariant.h"
#include "runtime/speech/MemorySink.h"
#include "runtime/speech/SpVoice.h"

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <future>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

constexpr int kRounds = 10;
constexpr int kParagraphs = 12;
constexpr std::size_t kFliteTextLength = 5000;
constexpr const char16_t* kFliteVoice = u"English (America, slt) (Flite)";
// The voice the command line speaks with, "gmw/en".
constexpr const char16_t* kEspeakVoice = u"English (Great Britain)";
constexpr const char16_t* kParagraph =
    u"The old lighthouse keeper climbed the spiral stairs every evening at dusk. He "
    u"trimmed the wick, polished the great lens, and watched the ships pass far out at "
    u"sea. Some nights the fog rolled in so thick that he could not see his own hand, and "
    u"then he sounded the horn until morning. ";

std::u16string LongText(int paragraphs = kParagraphs) {
    std::u16string text;
    for (int i = 0; i < paragraphs; ++i)
        text += kParagraph;
    return text;
}

struct Releaser {
    void operator()(IDispatch* object) const { object->Release(); }
};
using Ref = std::unique_ptr<IDispatch, Releaser>;

void Speak(IDispatch* voice, const std::u16string& text, LONG flags) {
    const std::vector<COleVariant> args = {COleVariant::FromString(text), COleVariant(flags)};
    EXCEPINFO excepInfo;
    if (voice->Invoke(SpVoice::kSpeak, DISPATCH_METHOD, args, nullptr, &excepInfo) != S_OK) {
        std::fprintf(stderr, "Speak failed\n");
        std::exit(1);
    }
}

// Makes the voice speak with the voice of that description, or ends the benchmark.
void ChooseVoice(IDispatch* voice, const std::u16string& description) {
    const std::vector<COleVariant> noFilter = {COleVariant::NullString(),
                                               COleVariant::NullString()};
    EXCEPINFO excepInfo;
    COleVariant list;
    voice->Invoke(SpVoice::kGetVoices, DISPATCH_METHOD, noFilter, &list, &excepInfo);
    Ref tokens(list.DetachDispatch());
    COleVariant count;
    tokens->Invoke(1, DISPATCH_PROPERTYGET, {}, &count, &excepInfo);
    for (LONG i = 0; i < count.lVal(); ++i) {
        COleVariant token;
        const std::vector<COleVariant> index = {COleVariant(i)};
        tokens->Invoke(0, DISPATCH_METHOD, index, &token, &excepInfo);
        COleVariant name;
        const std::vector<COleVariant> locale = {COleVariant(0)};
        token.pdispVal()->Invoke(4, DISPATCH_METHOD, locale, &name, &excepInfo);
        if (name.bstrVal() == description) {
            const std::vector<COleVariant> chosen = {token};
            voice->Invoke(SpVoice::kVoice, DISPATCH_PROPERTYPUTREF, chosen, nullptr, &excepInfo);
            return;
        }
    }
    std::fprintf(stderr, "The voice %s is not listed.\n",
                 std::string(description.begin(), description.end()).c_str());
    std::exit(1);
}

double Milliseconds(Clock::duration duration) {
    return std::chrono::duration<double, std::milli>(duration).count();
}

double CpuSeconds(const rusage& usage) {
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double ProcessCpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return CpuSeconds(usage);
}

void PrintSpread(const char* what, std::vector<double> values, double goal) {
    std::sort(values.begin(), values.end());
    std::printf("%-34s median %6.2f ms   max %6.2f ms   (goal <= %.0f ms)\n", what,
                values[values.size() / 2], values.back(), goal);
}

std::vector<double> FirstSampleLatencies(IDispatch* voice, MemorySink& sink,
                                         const std::u16string& text) {
    std::vector<double> latencies;
    for (int round = 0; round < kRounds; ++round) {
        sink.Clear();
        const Clock::time_point start = Clock::now();
        Speak(voice, text, SpVoice::SVSFlagsAsync);
        std::optional<Clock::time_point> first;
        while (!(first = sink.FirstArrival()))
            std::this_thread::sleep_for(1ms);
        latencies.push_back(Milliseconds(*first - start));
        Speak(voice, u"", SpVoice::SVSFPurgeBeforeSpeak);
    }
    return latencies;
}

// How long after a purge the last sound reached the output, and how long the purging
// Speak call itself took.
std::vector<double> PurgeLatencies(IDispatch* voice, MemorySink& sink, const std::u16string& text,
                                   std::vector<double>& callDurations) {
    std::vector<double> latencies;
    for (int round = 0; round < kRounds; ++round) {
        Speak(voice, text, SpVoice::SVSFlagsAsync);
        std::this_thread::sleep_for(400ms);
        const Clock::time_point purge = Clock::now();
        Speak(voice, u"", SpVoice::SVSFPurgeBeforeSpeak);
        callDurations.push_back(Milliseconds(Clock::now() - purge));
        std::this_thread::sleep_for(200ms);
        const Clock::time_point last = sink.LastArrival().value_or(purge);
        latencies.push_back(std::max(0.0, Milliseconds(last - purge)));
    }
    return latencies;
}

// An output that takes nothing and never answers, as a stalled sound server does.
class StalledSink final : public AudioSink {
  public:
    bool Write(std::span<const std::int16_t>) override { return Stall(); }
    void Drain() override { Stall(); }
    void Flush() override { Stall(); }
    bool PlaysAtSoundCardPace() const override { return true; }

  private:
    bool Stall() {
        m_never.wait();
        return false;
    }

    std::promise<void> m_kept;
    std::shared_future<void> m_never = m_kept.get_future().share();
};

// How long the purging Speak call takes while the output is stalled in a write.
std::vector<double> StalledPurgeCalls(const std::u16string& text) {
    std::vector<double> durations;
    for (int round = 0; round < kRounds; ++round) {
        auto sink = std::make_shared<StalledSink>();
        Ref voice(SpVoice::Create([sink] { return sink; }));
        Speak(voice.get(), text, SpVoice::SVSFlagsAsync);
        std::this_thread::sleep_for(100ms);
        const Clock::time_point purge = Clock::now();
        Speak(voice.get(), u"", SpVoice::SVSFPurgeBeforeSpeak);
        durations.push_back(Milliseconds(Clock::now() - purge));
    }
    return durations;
}

void SetVolume(IDispatch* voice, LONG volume) {
    const std::vector<COleVariant> args = {COleVariant(volume)};
    EXCEPINFO excepInfo;
    voice->Invoke(SpVoice::kVolume, DISPATCH_PROPERTYPUT, args, nullptr, &excepInfo);
}

double PeakIn(const std::vector<std::int16_t>& samples, std::size_t from, std::size_t count) {
    int peak = 0;
    for (std::size_t i = from; i < from + count && i < samples.size(); ++i)
        peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
    return peak;
}

// How much sound the output received between SetVolume and the first sound at the new
// volume: the text is spoken once at full volume for reference, then again with the
// volume lowered to a fifth half a second in, and the two are compared 5 ms at a time.
std::vector<double> VolumeChangeDelays(const std::u16string& text) {
    auto reference = std::make_shared<MemorySink>(Pacing::None);
    {
        Ref voice(SpVoice::Create([reference] { return reference; }));
        Speak(voice.get(), text.substr(0, 600), 0);
    }
    const std::vector<std::int16_t> full = reference->Samples();
    constexpr std::size_t kWindow = 22050 / 200;
    std::vector<double> delays;
    for (int round = 0; round < kRounds; ++round) {
        auto sink = std::make_shared<MemorySink>(Pacing::SoundCard);
        Ref voice(SpVoice::Create([sink] { return sink; }));
        Speak(voice.get(), text.substr(0, 600), SpVoice::SVSFlagsAsync);
        std::this_thread::sleep_for(500ms + 37ms * round);
        const std::size_t before = sink->SampleCount();
        SetVolume(voice.get(), 20);
        std::this_thread::sleep_for(400ms);
        const std::vector<std::int16_t> quiet = sink->Samples();
        Speak(voice.get(), u"", SpVoice::SVSFPurgeBeforeSpeak);
        for (std::size_t at = before; at + kWindow <= quiet.size(); at += kWindow) {
            const double loud = PeakIn(full, at, kWindow);
            if (loud > 2000 && PeakIn(quiet, at, kWindow) < loud * 0.5) {
                delays.push_back(1000.0 * static_cast<double>(at - before) / 22050);
                break;
            }
        }
    }
    return delays;
}

// An output that counts the samples and keeps none of them, so that the speed figure is
// the runtime's and not the cost of storing minutes of sound.
class CountingSink final : public AudioSink {
  public:
    bool Write(std::span<const std::int16_t> samples) override {
        m_count += samples.size();
        return true;
    }
    void Drain() override {}
    void Flush() override {}
    bool PlaysAtSoundCardPace() const override { return false; }
    std::size_t Count() const { return m_count; }

  private:
    std::atomic<std::size_t> m_count{0};
};

// Audio seconds per CPU second of the runtime, speaking to an output that takes the sound
// as fast as it comes.
double RuntimeSpeed(const std::u16string& text) {
    auto sink = std::make_shared<CountingSink>();
    Ref voice(SpVoice::Create([sink] { return sink; }));
    ChooseVoice(voice.get(), kEspeakVoice);
    Speak(voice.get(), u"Warm up.", 0);
    const std::size_t warmUp = sink->Count();
    const double cpuBefore = ProcessCpuSeconds();
    Speak(voice.get(), text, 0);
    const double cpu = ProcessCpuSeconds() - cpuBefore;
    const double audio = static_cast<double>(sink->Count() - warmUp) / 22050;
    std::printf("runtime:   %7.2f s of sound in %6.3f s CPU\n", audio, cpu);
    return audio / cpu;
}

// Audio seconds per CPU second of `espeak-ng -w`, from its rusage.
std::optional<double> CommandLineSpeed(const std::u16string& text) {
    std::string folderPattern = (std::filesystem::temp_directory_path() / "bench-XXXXXX");
    if (!mkdtemp(folderPattern.data()))
        return std::nullopt;
    const std::filesystem::path folder = folderPattern;
    const std::string textFile = folder / "text.txt";
    const std::string wavFile = folder / "x.wav";
    std::ofstream(textFile) << std::string(text.begin(), text.end());

    std::vector<std::string> words = {"espeak-ng", "-v", "gmw/en", "-w", wavFile, "-f", textFile};
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    if (posix_spawnp(&pid, "espeak-ng", nullptr, nullptr, argv.data(), environ) != 0)
        return std::nullopt;
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    std::error_code ignored;
    const auto bytes = std::filesystem::file_size(wavFile, ignored);
    std::filesystem::remove_all(folder, ignored);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || bytes <= 44)
        return std::nullopt;
    const double audio = static_cast<double>(bytes - 44) / 2 / 22050;
    const double cpu = CpuSeconds(usage);
    std::printf("espeak-ng: %7.2f s of sound in %6.3f s CPU\n", audio, cpu);
    return audio / cpu;
}

} // namespace

int main() {
    const std::u16string text = LongText();
    {
        auto sink = std::make_shared<MemorySink>(Pacing::SoundCard);
        Ref voice(SpVoice::Create([sink] { return sink; }));
        if (!voice) {
            std::fprintf(stderr, "The speech engine could not start.\n");
            return 1;
        }
        ChooseVoice(voice.get(), kEspeakVoice);
        std::printf("eSpeak NG gmw/en, %zu characters:\n", text.size());
        PrintSpread("Speak to first sample:", FirstSampleLatencies(voice.get(), *sink, text), 30);
        std::vector<double> callDurations;
        PrintSpread(
            "Purge to last sample:", PurgeLatencies(voice.get(), *sink, text, callDurations), 30);
        PrintSpread("Purging Speak call returns after:", callDurations, 5);

        std::u16string fliteText = LongText(static_cast<int>(kFliteTextLength / 280) + 1);
        fliteText.resize(kFliteTextLength);
        ChooseVoice(voice.get(), kFliteVoice);
        std::printf("Flite slt, %zu characters:\n", fliteText.size());
        PrintSpread("Speak to first sample:", FirstSampleLatencies(voice.get(), *sink, fliteText),
                    50);
        callDurations.clear();
        PrintSpread("Purge to last sample:",
                    PurgeLatencies(voice.get(), *sink, fliteText, callDurations), 30);
    }
    PrintSpread("Purge with a stalled output returns:", StalledPurgeCalls(text), 5);
    const std::vector<double> delays = VolumeChangeDelays(text);
    if (delays.empty())
        std::printf("SetVolume to quieter sound: not seen\n");
    else
        PrintSpread("SetVolume to quieter sound (audio):", delays, 100);
    const double runtime = RuntimeSpeed(text);
    const std::optional<double> commandLine = CommandLineSpeed(text);
    std::printf("synthesis speed: runtime %.0f, espeak-ng -w %s audio s per CPU s", runtime,
                commandLine ? std::to_string(static_cast<int>(*commandLine)).c_str()
                            : "(not measured)");
    if (commandLine)
        std::printf("   ratio %.2f (goal >= 0.80)", runtime / *commandLine);
    std::printf("\n");
    return 0;
}
