#include "platform/process/CreateProcess.h"
#include "tests/support/CaseName.h"

#include "tests/support/ChildProcess.h"
#include "tests/support/Eventually.h"
#include "tests/support/FileBytes.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

extern char** environ;

namespace {

using namespace std::chrono_literals;
using Arguments = std::vector<std::string>;

Arguments Shell(const std::string& script) {
    return {"/bin/sh", "-c", script};
}

ChildProcess Start(const Arguments& arguments) {
    StartResult started = CreateProcessA(arguments, Launch::Hidden);
    EXPECT_TRUE(started) << strerror(started.error);
    return std::move(*started.process);
}

struct ArgumentCase {
    const char* name;
    Arguments arguments;
    friend void PrintTo(const ArgumentCase& c, std::ostream* out) { *out << c.name; }
};

class ArgumentsArriveUnsplit : public testing::TestWithParam<ArgumentCase> {};

TEST_P(ArgumentsArriveUnsplit, OneArgumentEach) {
    // The child writes each of its arguments, NUL-terminated, to the file "arguments".
    Arguments command{"/bin/sh", "-c",
                      "for a in \"$@\"; do printf '%s\\0' \"$a\"; done > arguments", "sh"};
    command.insert(command.end(), GetParam().arguments.begin(), GetParam().arguments.end());
    ASSERT_EQ(Start(command).Wait(10s), (WaitResult{WaitStatus::Exited, 0}));
    std::string expected;
    for (const std::string& argument : GetParam().arguments)
        expected += argument + '\0';
    EXPECT_EQ(ReadFile("arguments"), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Characters, ArgumentsArriveUnsplit,
    testing::Values(ArgumentCase{"Blanks", {"/tmp/my folder/input.txt", "out put.wav"}},
                    ArgumentCase{"DoubleQuotes", {"say \"hi\".wav", "\"", "a\" \"b"}},
                    ArgumentCase{"Newlines", {"line one\nline two", "\n"}},
                    ArgumentCase{"ShellSyntax", {"$HOME", "*.wav", "`id`", "a;b|c&d", "'x'", "\\"}},
                    ArgumentCase{"EmptyAndDashes", {"", "-3", "--help"}},
                    ArgumentCase{"Utf8", {"Grüße.wav", "进程.wav"}}),
    CaseName());

struct FailedStartCase {
    const char* name;
    Arguments arguments;
    int error;
    friend void PrintTo(const FailedStartCase& c, std::ostream* out) { *out << c.name; }
};

class FailedStart : public testing::TestWithParam<FailedStartCase> {};

TEST_P(FailedStart, ReportsTheErrno) {
    WriteFile("plain.txt", "hello\n");
    WriteFile("garbage.exe", "\x7fnot a program\n");
    chmod("garbage.exe", 0755);
    mkdir("folder", 0755);
    StartResult started = CreateProcessA(GetParam().arguments, Launch::Hidden);
    EXPECT_FALSE(started);
    EXPECT_EQ(started.error, GetParam().error) << strerror(started.error);
}

INSTANTIATE_TEST_SUITE_P(
    Programs, FailedStart,
    testing::Values(FailedStartCase{"Missing", {"./towav.exe", "input.txt"}, ENOENT},
                    FailedStartCase{"MissingFolder", {"/no/such/folder/towav.exe"}, ENOENT},
                    FailedStartCase{"MissingInPath", {"murmelo-no-such-program"}, ENOENT},
                    FailedStartCase{"NotExecutable", {"./plain.txt"}, EACCES},
                    FailedStartCase{"Folder", {"./folder"}, EACCES},
                    FailedStartCase{"NotAProgram", {"./garbage.exe"}, ENOEXEC},
                    FailedStartCase{"NoArguments", {}, EINVAL},
                    FailedStartCase{"EmptyName", {""}, EINVAL}),
    CaseName());

TEST(ChildProcess, EndIsReportedAndRepeated) {
    const struct {
        const char* script;
        WaitResult result;
    } cases[] = {{"exit 0", {WaitStatus::Exited, 0}},
                 {"exit 255", {WaitStatus::Exited, 255}},
                 {"kill -TERM $$", {WaitStatus::Signalled, SIGTERM}}};
    for (const auto& c : cases) {
        ChildProcess child = Start(Shell(c.script));
        EXPECT_EQ(child.Wait(10s), c.result) << c.script;
        EXPECT_EQ(child.Wait(0ms), c.result) << c.script;
    }
}

// The dialog process may ignore or block signals; the child must still die of them.
TEST(ChildProcess, StartsWithDefaultSignalHandling) {
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    struct sigaction previous {};
    sigaction(SIGPIPE, &ignore, &previous);
    sigset_t term, previousMask;
    sigemptyset(&term);
    sigaddset(&term, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &term, &previousMask);
    ChildProcess piped = Start(Shell("kill -PIPE $$; exit 0"));
    ChildProcess terminated = Start(Shell("kill -TERM $$; exit 0"));
    pthread_sigmask(SIG_SETMASK, &previousMask, nullptr);
    sigaction(SIGPIPE, &previous, nullptr);

    EXPECT_EQ(piped.Wait(10s), (WaitResult{WaitStatus::Signalled, SIGPIPE}));
    EXPECT_EQ(terminated.Wait(10s), (WaitResult{WaitStatus::Signalled, SIGTERM}));
}

TEST(ChildProcess, InheritsNoOpenFiles) {
    const int fd = open("kept-open", O_CREAT | O_WRONLY, 0644); // deliberately without O_CLOEXEC
    ASSERT_GE(fd, 3);
    EXPECT_EQ(Start(Shell("test -e /proc/$$/fd/" + std::to_string(fd))).Wait(10s),
              (WaitResult{WaitStatus::Exited, 1}));
    close(fd);
}

TEST(ChildProcess, TimesOutAndCanBeWaitedForAgain) {
    ChildProcess child = Start({"sleep", "30"});
    const auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(child.Wait(50ms), (WaitResult{WaitStatus::TimedOut, 0}));
    EXPECT_GE(std::chrono::steady_clock::now() - before, 50ms);
    kill(static_cast<pid_t>(child.ProcessId()), SIGKILL);
    EXPECT_EQ(child.Wait(10s), (WaitResult{WaitStatus::Signalled, SIGKILL}));
}

// Without a pidfd (an old kernel) the wait looks at the child's state repeatedly.
TEST(ChildProcess, WaitsWithoutPidfd) {
    char* argv[] = {const_cast<char*>("/bin/sh"), const_cast<char*>("-c"),
                    const_cast<char*>("sleep 0.2; exit 7"), nullptr};
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, argv[0], nullptr, nullptr, argv, environ), 0);
    ChildProcess child(pid, -1);
    EXPECT_EQ(child.Wait(20ms), (WaitResult{WaitStatus::TimedOut, 0}));
    EXPECT_EQ(child.Wait(10s), (WaitResult{WaitStatus::Exited, 7}));
}

TEST(ChildProcess, ReleasedOrDestroyedChildRunsOnAndIsReaped) {
    for (const bool release : {true, false}) {
        std::filesystem::remove("finished");
        std::optional<ChildProcess> child = Start(Shell("sleep 0.3; echo done > finished"));
        const auto pid = static_cast<pid_t>(child->ProcessId());
        ASSERT_EQ(child->Wait(10ms).status, WaitStatus::TimedOut);
        if (release) {
            child->Release();
            EXPECT_EQ(child->ProcessId(), 0u);
        } else {
            child.reset();
        }
        EXPECT_TRUE(Eventually([] { return ReadFile("finished") == "done\n"; }));
        EXPECT_TRUE(Eventually([pid] { return StateOf(pid) == ProcessState::Gone; }))
            << "left a zombie";
    }
}

TEST(ChildProcess, ReleasingAnEndedChildReapsItAtOnce) {
    ChildProcess child = Start({"true"});
    const auto pid = static_cast<pid_t>(child.ProcessId());
    ASSERT_TRUE(Eventually([pid] { return StateOf(pid) == ProcessState::Zombie; }));
    child.Release();
    EXPECT_EQ(StateOf(pid), ProcessState::Gone);
}

} // namespace
