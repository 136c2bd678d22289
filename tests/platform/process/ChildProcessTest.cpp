#include "platform/process/CreateProcess.h"
#include "platform/process/Paths.h"

#include "tests/support/ChildProcess.h"
#include "tests/support/Eventually.h"
#include "tests/support/FileBytes.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Arguments = std::vector<std::string>;

ChildProcess Shell(const std::string& script, const Arguments& arguments = {}) {
    Arguments command{"/bin/sh", "-c", script, "sh"};
    command.insert(command.end(), arguments.begin(), arguments.end());
    StartResult started = CreateProcessA(command, Launch::Hidden);
    EXPECT_TRUE(started) << strerror(started.error);
    return std::move(*started.process);
}

// No shell comes between the caller and the program: what the shell would split, expand
// or run arrives as it was given, one argument each.
TEST(ChildProcess, ArgumentsArriveUnsplitAndUnexpanded) {
    const Arguments arguments = {"/tmp/my folder/in.txt",
                                 "say \"hi\".wav",
                                 "\"",
                                 "a\" \"b",
                                 "$HOME",
                                 "*.wav",
                                 "`id`",
                                 "a;b|c&d",
                                 "'x'",
                                 "\\",
                                 "",
                                 "-3",
                                 "--help",
                                 "Grüße 进程.wav",
                                 "line one\nline two"};
    const std::string script = "for a in \"$@\"; do printf '%s\\0' \"$a\"; done > arguments";
    ASSERT_EQ(Shell(script, arguments).Wait(10s), (WaitResult{WaitStatus::Exited, 0}));
    std::string expected;
    for (const std::string& argument : arguments)
        expected += argument + '\0';
    EXPECT_EQ(ReadFile("arguments"), expected);
}

// A file that is no program is refused, not handed to a shell to run as a script.
TEST(ChildProcess, FailedStartsReportTheirErrno) {
    WriteFile("plain.txt", "hello\n");
    WriteFile("garbage.exe", "\x7fnot a program\n");
    chmod("garbage.exe", 0755);
    mkdir("folder", 0755);
    const std::pair<Arguments, int> rows[] = {{{"./towav.exe", "input.txt"}, ENOENT},
                                              {{"murmelo-no-such-program"}, ENOENT},
                                              {{"./plain.txt"}, EACCES},
                                              {{"./folder"}, EACCES},
                                              {{"./garbage.exe"}, ENOEXEC},
                                              {{}, EINVAL},
                                              {{""}, EINVAL}};
    for (const auto& [arguments, error] : rows) {
        StartResult started = CreateProcessA(arguments, Launch::Hidden);
        EXPECT_FALSE(started) << testing::PrintToString(arguments);
        EXPECT_EQ(started.error, error) << strerror(started.error);
    }
}

// The end is reported by every later wait too; a wait for a child still running ends at its
// time limit.
TEST(ChildProcess, EndIsReportedAndRepeated) {
    const std::pair<const char*, WaitResult> rows[] = {
        {"exit 0", {WaitStatus::Exited, 0}},
        {"exit 255", {WaitStatus::Exited, 255}},
        {"kill -TERM $$", {WaitStatus::Signalled, SIGTERM}}};
    for (const auto& [script, result] : rows) {
        ChildProcess child = Shell(script);
        EXPECT_EQ(child.Wait(10s), result) << script;
        EXPECT_EQ(child.Wait(0ms), result) << script;
    }
    ChildProcess running = Shell("sleep 0.2; exit 7");
    EXPECT_EQ(running.Wait(20ms), (WaitResult{WaitStatus::TimedOut, 0}));
    EXPECT_EQ(running.Wait(10s), (WaitResult{WaitStatus::Exited, 7}));
}

// A converter left running after the wait runs on, and is reaped when it ends: released
// or destroyed, it never stays a zombie.
TEST(ChildProcess, ReleasedOrDestroyedChildRunsOnAndIsReaped) {
    for (const bool release : {true, false}) {
        fs::remove("finished");
        std::optional<ChildProcess> child = Shell("sleep 0.3; echo done > finished");
        const auto pid = static_cast<pid_t>(child->ProcessId());
        ASSERT_EQ(child->Wait(10ms).status, WaitStatus::TimedOut);
        release ? child->Release() : child.reset();
        EXPECT_TRUE(Eventually([] { return ReadFile("finished") == "done\n"; }));
        EXPECT_TRUE(Eventually([pid] { return StateOf(pid) == ProcessState::Gone; }))
            << "left a zombie";
    }
}

// The file dialogs start in the program's folder; the converter's output counts only as a
// regular file, also through a link.
TEST(Paths, ModuleFileNameIsThisProgramAndOnlyRegularFilesExist) {
    EXPECT_EQ(fs::path(GetModuleFileNameA()), fs::read_symlink("/proc/self/exe"));
    WriteFile("out.wav", "RIFF");
    fs::create_directory("folder.wav");
    fs::create_symlink("out.wav", "link.wav");
    fs::create_symlink("missing.wav", "dangling.wav");
    for (const char* path : {"out.wav", "link.wav"})
        EXPECT_TRUE(FileExists(path)) << path;
    for (const char* path : {"missing.wav", "folder.wav", "dangling.wav", "", "out.wav/x"})
        EXPECT_FALSE(FileExists(path)) << path;
}

} // namespace
