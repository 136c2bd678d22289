#include "platform/process/CreateProcess.h"

#include "tests/platform/process/ScratchDirectoryTest.h"

#include <csignal>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

using namespace std::chrono_literals;
using Arguments = std::vector<std::string>;

// A child that writes each of its arguments, NUL-terminated, to the file "arguments".
const Arguments kRecordArguments{
    "/bin/sh", "-c", "for a in \"$@\"; do printf '%s\\0' \"$a\"; done > arguments", "sh"};

Arguments Shell(const std::string& script) {
    return {"/bin/sh", "-c", script};
}

std::string ReadFile(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

Arguments SplitAtNuls(const std::string& bytes) {
    Arguments parts;
    std::string part;
    for (char c : bytes) {
        if (c == '\0') {
            parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    return parts;
}

// Waits up to five seconds for a condition that a released child brings about.
template <typename Condition>
bool Eventually(Condition condition) {
    for (auto deadline = std::chrono::steady_clock::now() + 5s;
         std::chrono::steady_clock::now() < deadline; std::this_thread::sleep_for(10ms)) {
        if (condition()) {
            return true;
        }
    }
    return false;
}

bool ProcessGone(DWORD pid) {
    return access(("/proc/" + std::to_string(pid)).c_str(), F_OK) != 0;
}

bool IsZombie(DWORD pid) {
    std::string stat = ReadFile("/proc/" + std::to_string(pid) + "/stat");
    auto close = stat.rfind(')');
    return close != std::string::npos && stat.compare(close, 4, ") Z ") == 0;
}

ChildProcess Start(const Arguments& arguments) {
    StartResult started = CreateProcessA(arguments, Launch::Hidden);
    EXPECT_TRUE(started) << strerror(started.error);
    return std::move(*started.process);
}

class ChildProcessTest : public ScratchDirectoryTest {};

struct ArgumentCase {
    const char* name;
    Arguments arguments;

    // Names the case in test listings instead of dumping its bytes.
    friend void PrintTo(const ArgumentCase& c, std::ostream* out) { *out << c.name; }
};

class ArgumentsArriveUnsplit : public ScratchDirectoryTest,
                               public ::testing::WithParamInterface<ArgumentCase> {};

TEST_P(ArgumentsArriveUnsplit, OneArgumentEach) {
    Arguments command = kRecordArguments;
    command.insert(command.end(), GetParam().arguments.begin(), GetParam().arguments.end());
    ChildProcess child = Start(command);
    ASSERT_EQ(child.Wait(10s), (WaitResult{WaitStatus::Exited, 0}));
    EXPECT_EQ(SplitAtNuls(ReadFile("arguments")), GetParam().arguments);
}

INSTANTIATE_TEST_SUITE_P(
    Characters, ArgumentsArriveUnsplit,
    ::testing::Values(ArgumentCase{"Blanks", {"/tmp/my folder/input.txt", "out put.wav"}},
                      ArgumentCase{"DoubleQuotes", {"say \"hi\".wav", "\"", "a\" \"b"}},
                      ArgumentCase{"Newlines", {"line one\nline two", "\n"}},
                      ArgumentCase{"ShellSyntax",
                                   {"$HOME", "*.wav", "`id`", "a;b|c&d", "'single'", "\\"}},
                      ArgumentCase{"EmptyAndDashes", {"", "-3", "--help"}},
                      ArgumentCase{"Utf8", {"Grüße.wav", "进程.wav"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct FailedStartCase {
    const char* name;
    Arguments arguments;
    int error;

    friend void PrintTo(const FailedStartCase& c, std::ostream* out) { *out << c.name; }
};

class FailedStart : public ScratchDirectoryTest,
                    public ::testing::WithParamInterface<FailedStartCase> {
  protected:
    void SetUp() override {
        ScratchDirectoryTest::SetUp();
        std::ofstream("plain.txt") << "hello\n";
        chmod("plain.txt", 0644);
        std::ofstream("garbage.exe") << "\x7f"
                                     << "not a program\n";
        chmod("garbage.exe", 0755);
        mkdir("folder", 0755);
    }
};

TEST_P(FailedStart, ReportsTheErrno) {
    StartResult started = CreateProcessA(GetParam().arguments, Launch::Hidden);
    EXPECT_FALSE(started);
    EXPECT_EQ(started.error, GetParam().error) << strerror(started.error);
}

INSTANTIATE_TEST_SUITE_P(
    Programs, FailedStart,
    ::testing::Values(FailedStartCase{"Missing", {"./towav.exe", "input.txt"}, ENOENT},
                      FailedStartCase{"MissingFolder", {"/no/such/folder/towav.exe"}, ENOENT},
                      FailedStartCase{"MissingInPath", {"murmelo-no-such-program"}, ENOENT},
                      FailedStartCase{"NotExecutable", {"./plain.txt"}, EACCES},
                      FailedStartCase{"Folder", {"./folder"}, EACCES},
                      FailedStartCase{"NotAProgram", {"./garbage.exe"}, ENOEXEC},
                      FailedStartCase{"NoArguments", {}, EINVAL},
                      FailedStartCase{"EmptyName", {""}, EINVAL}),
    [](const auto& info) { return std::string(info.param.name); });

struct EndCase {
    const char* name;
    std::string script;
    WaitResult result;

    friend void PrintTo(const EndCase& c, std::ostream* out) { *out << c.name; }
};

class ProgramEnd : public ScratchDirectoryTest, public ::testing::WithParamInterface<EndCase> {};

TEST_P(ProgramEnd, IsReportedAndRepeated) {
    ChildProcess child = Start(Shell(GetParam().script));
    EXPECT_EQ(child.Wait(10s), GetParam().result);
    EXPECT_EQ(child.Wait(0ms), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    Statuses, ProgramEnd,
    ::testing::Values(EndCase{"Success", "exit 0", {WaitStatus::Exited, 0}},
                      EndCase{"Failure", "exit 3", {WaitStatus::Exited, 3}},
                      EndCase{"HighestCode", "exit 255", {WaitStatus::Exited, 255}},
                      EndCase{"Terminated", "kill -TERM $$", {WaitStatus::Signalled, SIGTERM}},
                      EndCase{"Killed", "kill -KILL $$", {WaitStatus::Signalled, SIGKILL}}),
    [](const auto& info) { return std::string(info.param.name); });

// The dialog process may ignore or block signals; the child must still die of them.
TEST_F(ChildProcessTest, StartsWithDefaultSignalHandling) {
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

TEST_F(ChildProcessTest, InheritsNoOpenFiles) {
    int fd = open("kept-open", O_CREAT | O_WRONLY, 0644); // deliberately without O_CLOEXEC
    ASSERT_GE(fd, 3);
    ChildProcess child = Start(Shell("test -e /proc/$$/fd/" + std::to_string(fd)));
    EXPECT_EQ(child.Wait(10s), (WaitResult{WaitStatus::Exited, 1}));
    close(fd);
}

TEST_F(ChildProcessTest, TimesOutAndCanBeWaitedForAgain) {
    ChildProcess child = Start({"sleep", "30"});
    auto before = std::chrono::steady_clock::now();
    EXPECT_EQ(child.Wait(50ms), (WaitResult{WaitStatus::TimedOut, 0}));
    EXPECT_GE(std::chrono::steady_clock::now() - before, 50ms);
    kill(static_cast<pid_t>(child.ProcessId()), SIGKILL);
    EXPECT_EQ(child.Wait(10s), (WaitResult{WaitStatus::Signalled, SIGKILL}));
}

// Without a pidfd (an old kernel) the wait looks at the child's state repeatedly.
TEST_F(ChildProcessTest, WaitsWithoutPidfd) {
    Arguments arguments = Shell("sleep 0.2; exit 7");
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    pid_t pid = 0;
    ASSERT_EQ(posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ), 0);
    ChildProcess child(pid, -1);
    EXPECT_EQ(child.Wait(20ms), (WaitResult{WaitStatus::TimedOut, 0}));
    EXPECT_EQ(child.Wait(10s), (WaitResult{WaitStatus::Exited, 7}));
}

TEST_F(ChildProcessTest, ReleasedChildRunsOnAndIsReaped) {
    enum class LetGo { Release, Destroy };
    for (LetGo letGo : {LetGo::Release, LetGo::Destroy}) {
        std::filesystem::remove("finished");
        std::optional<ChildProcess> child = Start(Shell("sleep 0.3; echo done > finished"));
        DWORD pid = child->ProcessId();
        ASSERT_EQ(child->Wait(10ms).status, WaitStatus::TimedOut);
        if (letGo == LetGo::Release) {
            child->Release();
            EXPECT_EQ(child->ProcessId(), 0u);
        } else {
            child.reset();
        }
        EXPECT_TRUE(Eventually([] { return ReadFile("finished") == "done\n"; }));
        EXPECT_TRUE(Eventually([pid] { return ProcessGone(pid); })) << "left a zombie";
    }
}

TEST_F(ChildProcessTest, ReleasingAnEndedChildReapsItAtOnce) {
    ChildProcess child = Start({"true"});
    DWORD pid = child.ProcessId();
    ASSERT_TRUE(Eventually([pid] { return IsZombie(pid); }));
    child.Release();
    EXPECT_TRUE(ProcessGone(pid));
}

} // namespace
