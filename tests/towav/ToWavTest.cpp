// The converter's worker pool, and the real towav.exe run as the dialog runs it, from an
// argument vector, no shell: the format its output name asks for, the voice, rate and volume
// it is given, long texts spoken in parallel and joined without a seam, the list of its voices,
// and its failures.
#include "runtime/speech/SpeechEngines.h"
#include "runtime/speech/SpeechSynthesizer.h"
#include "runtime/speech/VoiceCatalog.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Eventually.h"
#include "tests/support/FileBytes.h"
#include "tests/support/ScopedEnvironmentVariable.h"
#include "tests/support/SoundFile.h"
#include "towav/WorkerPool.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;

constexpr const char* kSentence = "Hello there, how are you today? I am fine, thank you.";

struct ConverterRun {
    // Nothing when the converter did not end within a minute.
    std::optional<int> status;
    std::string standardOutput, standardError;
};

// Unprivileged runs a copy in the current folder as an ordinary user, for whom file
// permissions hold: the build tree may lie in a folder only its owner can enter (a checkout
// made with mktemp -d).
enum class Privileges { Own, Unprivileged };

ConverterRun RunConverter(const Args& arguments, Privileges privileges = Privileges::Own) {
    QString program = TOWAV_PATH;
    QProcess converter;
    if (privileges == Privileges::Unprivileged) {
        fs::copy_file(TOWAV_PATH, "towav.exe", fs::copy_options::overwrite_existing);
        program = QString::fromStdString(fs::absolute("towav.exe"));
        converter.setChildProcessModifier([] { DropRootPrivileges() || (_exit(126), false); });
    }
    QStringList list;
    for (const std::string& argument : arguments)
        list << QString::fromStdString(argument);
    converter.start(program, list);
    const bool ended =
        converter.waitForFinished(60000) && converter.exitStatus() == QProcess::NormalExit;
    return {ended ? std::optional(converter.exitCode()) : std::nullopt,
            converter.readAllStandardOutput().toStdString(),
            converter.readAllStandardError().toStdString()};
}

// What the current folder holds, names sorted, sub-folders' entries as "folder/name",
// leaving out the test's XDG folders, where the converter keeps its voice check, and the
// unprivileged runs' copy of the converter.
Args FolderEntries() {
    Args names;
    for (auto entry = fs::recursive_directory_iterator("."); entry != fs::end(entry); ++entry) {
        const std::string name = entry->path().filename().string();
        if (entry.depth() == 0 && (name.starts_with("xdg-") || name == "towav.exe"))
            entry.disable_recursion_pending();
        else
            names.push_back(entry->path().lexically_relative(".").string());
    }
    std::ranges::sort(names);
    return names;
}

SoundFile Convert(const std::string& text, const std::string& output = "out.wav",
                  const std::string& voice = "1", const std::string& rate = "0",
                  const std::string& volume = "100") {
    WriteFile("input.txt", text);
    const ConverterRun run = RunConverter({"input.txt", output, voice, rate, volume});
    EXPECT_EQ(run.status, 0) << run.standardError;
    EXPECT_EQ(run.standardError, "");
    const std::optional<SoundFile> sound = SoundFile::Read(output);
    EXPECT_TRUE(sound) << "libsndfile cannot read " << output;
    return sound.value_or(SoundFile{});
}

// The encoders add a little silence at either end; a hundredth of a second is far less
// than a word. A link at the output name stays a link, the file it points at keeps its
// permissions, and nothing else is left.
TEST(ToWavOutput, FollowsTheExtensionAndKeepsTheLength) {
    const std::tuple<const char*, int, int> formats[] = {
        {"out.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 22050},
        {"out.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 22050},
        {"out.ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS, 22050},
        {"out.opus", SF_FORMAT_OGG | SF_FORMAT_OPUS, 48000},
        {"out.mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III, 22050},
        {"OUT.FLAC", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 22050},
        {"out.snd", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 22050},
        {"out", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 22050}};
    WriteFile("kept.wav", "old");
    fs::permissions("kept.wav", fs::perms(0600));
    fs::create_symlink("kept.wav", "out.wav");
    const double seconds = Convert(kSentence, "reference.wav").Seconds();
    for (const auto& [output, format, sampleRate] : formats) {
        SCOPED_TRACE(output);
        const SoundFile sound = Convert(kSentence, output);
        EXPECT_EQ(sound.format, format);
        EXPECT_EQ(sound.sampleRate, sampleRate);
        EXPECT_NEAR(sound.Seconds(), seconds, 0.06);
    }
    EXPECT_TRUE(fs::is_symlink("out.wav"));
    EXPECT_EQ(fs::status("kept.wav").permissions(), fs::perms(0600));
    EXPECT_EQ(FolderEntries(),
              (Args{"OUT.FLAC", "input.txt", "kept.wav", "out", "out.flac", "out.mp3", "out.ogg",
                    "out.opus", "out.snd", "out.wav", "reference.wav"}));
}

// Voice 0 means the first voice, and the same input gives the same samples.
TEST(ToWavOutput, TakesTheVoiceRateAndVolume) {
    const SoundFile first = Convert(kSentence, "out.wav", "1", "3", "80");
    EXPECT_EQ(Convert(kSentence, "out.wav", "0", "3", "80").samples, first.samples);
    EXPECT_NE(Convert(kSentence, "out.wav", "2", "3", "80").samples, first.samples);
    // Rate 5 speaks the square root of three times as fast as rate 0, rate -5 as much slower;
    // volume 0 is silence.
    const SoundFile normal = Convert(kSentence);
    EXPECT_NEAR(normal.Seconds() / Convert(kSentence, "out.wav", "1", "5").Seconds(), 1.732, 0.2);
    EXPECT_NEAR(Convert(kSentence, "out.wav", "1", "-5").Seconds() / normal.Seconds(), 1.732, 0.2);
    EXPECT_EQ(Convert(kSentence, "out.wav", "1", "0", "0").samples,
              std::vector<std::int16_t>(normal.samples.size()));
    // An empty text gives an empty sound, not the short silence a voice makes of it.
    EXPECT_TRUE(Convert("").samples.empty());
}

// The longest stretch of near silence, and the largest step from one sample to the next:
// a cut in the middle of a sound is a click.
std::pair<std::size_t, int> LongestPauseAndLargestStep(const std::vector<std::int16_t>& samples) {
    std::pair<std::size_t, int> found;
    for (std::size_t i = 1, pause = 0; i < samples.size(); ++i) {
        pause = std::abs(samples[i]) < 64 ? pause + 1 : 0;
        found = {std::max(found.first, pause),
                 std::max(found.second, std::abs(samples[i] - samples[i - 1]))};
    }
    return found;
}

// Spoken in worker processes, a long text sounds as one pass of the voice over it does:
// the same length, no longer pause, no click where the runs meet. The length is held to a
// thousandth: a word spoken twice at each of the joints would add less than a hundredth.
TEST(ToWavParallel, JoinedRunsSoundLikeOnePass) {
    std::string text;
    while (text.size() < 6000)
        text += "The river runs on towards the sea, past the mill and the old stone bridge. ";
    const ScopedEnvironmentVariable processes("TOWAV_PROCESSES", "2");
    const SoundFile joined = Convert(text);
    SpeechEngines engines;
    const std::vector<std::int16_t> onePass = SpeechSynthesizer(engines).SynthesizeAll(
        text, {VoiceCatalog::List(engines).front().identifier, 0, 100});
    EXPECT_NEAR(static_cast<double>(joined.samples.size()) / onePass.size(), 1.0, 0.001);
    const auto [pause, step] = LongestPauseAndLargestStep(joined.samples);
    EXPECT_LE(pause, LongestPauseAndLargestStep(onePass).first + 22050 / 50);
    EXPECT_LE(step, LongestPauseAndLargestStep(onePass).second);
}

// The numbers a person reads from --voices are the numbers the converter and the window use.
TEST(ToWavVoices, ListsTheRuntimesVoicesNumberedFromOneAndHelpTellsHow) {
    const ConverterRun run = RunConverter({"--voices"});
    ASSERT_EQ(run.status, 0) << run.standardError;
    SpeechEngines engines;
    std::ostringstream expected;
    int number = 0;
    for (const VoiceInfo& voice : VoiceCatalog::List(engines))
        expected << ++number << '\t' << voice.description << '\n';
    EXPECT_GT(number, 1);
    EXPECT_EQ(run.standardOutput, expected.str());
    const ConverterRun help = RunConverter({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_TRUE(help.standardOutput.starts_with("Usage: towav.exe ")) << help.standardOutput;
}

// Every failure: its own exit status, one line on standard error, and the folder exactly
// as it was (no output, no temporary file, an old file whole). The converter runs as an
// ordinary user, for whom a read-only folder is read-only. The parser's refusals are
// checked by its fuzz target on its seeds; one stands for all here.
TEST(ToWavFailure, SaysWhyInOneLineAndLeavesTheFolderAsItWas) {
    const std::tuple<Args, int, const char*> failures[] = {
        {{}, 2, "expected 5 arguments"},
        {{"input.txt", "o.wav", "100000", "0", "100"}, 2, "past the last voice"},
        {{"missing.txt", "o.wav", "1", "0", "100"}, 1, "cannot read missing.txt"},
        {{"locked", "o.wav", "1", "0", "100"}, 1, "cannot read locked"},
        {{"input.txt", "missing/o.wav", "1", "0", "100"}, 1, "missing"},
        {{"input.txt", "locked", "1", "0", "100"}, 1, "cannot replace locked"},
        {{"input.txt", "locked/out.wav", "1", "0", "100"}, 1, "locked"}};
    WriteFile("input.txt", "Hello there.");
    fs::create_directory("locked");
    WriteFile("locked/out.wav", "old");
    fs::permissions(".", fs::perms(0755));
    fs::permissions("locked/out.wav", fs::perms(0666));
    fs::permissions("locked", fs::perms(0555));
    const Args before = FolderEntries();
    for (const auto& [arguments, status, says] : failures) {
        SCOPED_TRACE(says);
        const ConverterRun run = RunConverter(arguments, Privileges::Unprivileged);
        EXPECT_EQ(run.status, status);
        EXPECT_TRUE(run.standardError.starts_with("towav.exe: ")) << run.standardError;
        EXPECT_NE(run.standardError.find(says), std::string::npos) << run.standardError;
        EXPECT_EQ(std::ranges::count(run.standardError, '\n'), 1) << run.standardError;
        EXPECT_EQ(FolderEntries(), before);
    }
    EXPECT_EQ(ReadFile("locked/out.wav"), "old");
}

// How many converter processes (the converter and its workers) run in the current folder.
std::size_t ConvertersRunningHere() {
    const auto isConverterHere = [converter = fs::canonical(TOWAV_PATH)](const auto& process) {
        std::error_code gone;
        return fs::read_symlink(process.path() / "exe", gone) == converter &&
               fs::read_symlink(process.path() / "cwd", gone) == fs::current_path();
    };
    return std::ranges::count_if(fs::directory_iterator("/proc"), isConverterHere);
}

// Its worker processes too: none goes on speaking once the converter is gone.
TEST(ToWavFailure, KilledHalfWayLeavesTheOldFileAndNothingElse) {
    std::string text;
    while (text.size() < 200'000)
        text += "A long text that takes the converter many seconds to speak. ";
    WriteFile("input.txt", text);
    WriteFile("out.wav", "old");
    const ScopedEnvironmentVariable processes("TOWAV_PROCESSES", "2");
    const auto killed = RunInChild(
        [] {
            return execl(TOWAV_PATH, TOWAV_PATH, "input.txt", "out.wav", "1", "0", "100", nullptr);
        },
        std::chrono::milliseconds(500));
    ASSERT_FALSE(killed) << "the converter ended before it was killed";
    EXPECT_TRUE(Eventually([] { return ConvertersRunningHere() == 0; }, std::chrono::seconds(5)))
        << "a worker outlived the converter";
    EXPECT_EQ(ReadFile("out.wav"), "old");
    EXPECT_EQ(FolderEntries(), (Args{"input.txt", "out.wav"}));
}

// Job i sends 1000 (i + 1) copies of i in two pieces, the early jobs slowest, so that later
// jobs are done while an earlier one still runs.
bool Job(std::size_t index, const WorkerPool::Output& output) {
    usleep(static_cast<useconds_t>((12 - index) * 2000));
    const std::vector<std::int16_t> half(500 * (index + 1), static_cast<std::int16_t>(index));
    return output(half) && output(half);
}

TEST(WorkerPool, DeliversEveryJobWholeAndInOrderAndFailsWithAFailedJob) {
    std::vector<std::int16_t> expected;
    for (std::size_t index = 0; index < 12; ++index)
        expected.insert(expected.end(), 1000 * (index + 1), static_cast<std::int16_t>(index));
    std::vector<std::int16_t> delivered;
    EXPECT_TRUE(WorkerPool::Run(12, 3, Job, [&](std::size_t, std::span<const std::int16_t> part) {
        delivered.insert(delivered.end(), part.begin(), part.end());
        return true;
    }));
    EXPECT_EQ(delivered, expected);

    const auto failingFifth = [](std::size_t index, const WorkerPool::Output& output) {
        return index != 5 && Job(index, output);
    };
    EXPECT_FALSE(WorkerPool::Run(12, 3, failingFifth,
                                 [](std::size_t, std::span<const std::int16_t>) { return true; }));
}

} // namespace
