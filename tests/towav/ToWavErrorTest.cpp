#include "tests/support/CaseName.h"
#include "tests/support/Eventually.h"
#include "tests/support/FileBytes.h"
#include "tests/support/ScopedEnvironmentVariable.h"
#include "tests/towav/ConverterProcess.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;

struct FailingRun {
    const char* name;
    Args arguments;
    int status;
    const char* says; // a part of the one-line message
};

void PrintTo(const FailingRun& row, std::ostream* os) {
    *os << row.name;
}

// Every failure: its own exit status, one line on standard error, and the folder exactly
// as it was (no output, no temporary file).
class ToWavFails : public testing::TestWithParam<FailingRun> {};

TEST_P(ToWavFails, WithAMessageAndNoOutput) {
    const FailingRun& row = GetParam();
    WriteFile("input.txt", "Hello there.");
    fs::create_directory("folder.wav");
    fs::create_directory("folder.txt");
    const auto before = FolderEntries();
    const ConverterRun run = RunConverter(row.arguments);
    EXPECT_EQ(run.status, row.status);
    EXPECT_NE(run.standardError.find(row.says), std::string::npos) << run.standardError;
    EXPECT_TRUE(run.standardError.starts_with("towav.exe: ")) << run.standardError;
    EXPECT_EQ(std::ranges::count(run.standardError, '\n'), 1) << run.standardError;
    EXPECT_EQ(run.standardOutput, "");
    EXPECT_EQ(FolderEntries(), before);
}

// The parser's refusals are checked in detail with the parser; here two stand for all.
INSTANTIATE_TEST_SUITE_P(
    Runs, ToWavFails,
    testing::Values(
        FailingRun{"NoArguments", Args{}, 2, "expected 5 arguments"},
        FailingRun{"VoiceNotANumber", Args{"input.txt", "o.wav", "5x", "0", "100"}, 2, "VOICE"},
        FailingRun{"RateOutOfRange", Args{"input.txt", "o.wav", "1", "11", "100"}, 2, "RATE"},
        FailingRun{"VoicePastTheLast", Args{"input.txt", "o.wav", "100000", "0", "100"}, 2,
                   "past the last voice"},
        FailingRun{"InputMissing", Args{"missing.txt", "o.wav", "1", "0", "100"}, 1,
                   "cannot read missing.txt"},
        FailingRun{"InputIsAFolder", Args{"folder.txt", "o.wav", "1", "0", "100"}, 1,
                   "cannot read folder.txt"},
        FailingRun{"OutputFolderMissing", Args{"input.txt", "missing/o.wav", "1", "0", "100"}, 1,
                   "missing"},
        FailingRun{"OutputIsAFolder", Args{"input.txt", "folder.wav", "1", "0", "100"}, 1,
                   "folder.wav"}),
    CaseName());

TEST(ToWavFailure, ReadOnlyFolderKeepsTheOldFile) {
    WriteFile("input.txt", "Hello there.");
    fs::create_directory("locked");
    WriteFile("locked/out.wav", "old");
    // The converter runs as an ordinary user, for whom permissions hold.
    fs::permissions(".", fs::perms(0755));
    fs::permissions("locked/out.wav", fs::perms(0666));
    fs::permissions("locked", fs::perms(0555));
    const ConverterRun run =
        RunConverter({"input.txt", "locked/out.wav", "1", "0", "100"}, Privileges::Unprivileged);
    fs::permissions("locked", fs::perms(0755));
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.standardError.find("locked"), std::string::npos) << run.standardError;
    EXPECT_EQ(ReadFile("locked/out.wav"), "old");
    EXPECT_EQ(FolderEntries(), (Args{"input.txt", "locked", "locked/out.wav"}));
}

// Its worker processes too: none goes on speaking once the converter is gone.
TEST(ToWavFailure, KilledHalfWayLeavesTheOldFileAndNothingElse) {
    std::string text;
    while (text.size() < 200'000)
        text += "A long text that takes the converter many seconds to speak. ";
    WriteFile("input.txt", text);
    WriteFile("out.wav", "old");
    const ScopedEnvironmentVariable processes("TOWAV_PROCESSES", "2");
    ASSERT_TRUE(KillConverterAfter({"input.txt", "out.wav", "1", "0", "100"},
                                   std::chrono::milliseconds(500)))
        << "the converter ended before it was killed";
    EXPECT_TRUE(Eventually([] { return ConvertersRunningHere() == 0; }, std::chrono::seconds(5)))
        << "a worker outlived the converter";
    EXPECT_EQ(ReadFile("out.wav"), "old");
    EXPECT_EQ(FolderEntries(), (Args{"input.txt", "out.wav"}));
}

TEST(ToWavHelp, PrintsTheUsageAndDoesNothingElse) {
    const ConverterRun run = RunConverter({"--help"});
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.standardOutput.starts_with("Usage: towav.exe INPUT OUTPUT VOICE RATE VOLUME\n"))
        << run.standardOutput;
    EXPECT_EQ(run.standardError, "");
    EXPECT_TRUE(FolderEntries().empty());
}

} // namespace
