// Measures the time from starting a process to its dialog's first paint: Murmelo against a
// plain Qt program with the same controls. Each run is a fresh process in a fresh empty
// folder; the programs print "first-show <steady-clock ns>" at their first paint
// (MURMELO_REPORT_FIRST_SHOW), and the benchmark ends them after that.
//
// Usage: bench_startup [runs]   (needs a display: run it under xvfb-run -a, or set
// QT_QPA_PLATFORM=offscreen)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// Starts program in folder, waits for its report, ends it; the milliseconds from the start
// to the first paint, or nothing when it did not report within ten seconds.
std::optional<double> TimeOneStart(const std::filesystem::path& program,
                                   const std::filesystem::path& folder) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeFds[0]);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    std::string path = program.string();
    char* argv[] = {path.data(), nullptr};

    const Clock::time_point started = Clock::now();
    pid_t child = 0;
    const int spawned = posix_spawn(&child, path.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        return std::nullopt;
    }

    std::string output;
    std::optional<double> result;
    pollfd readable{pipeFds[0], POLLIN, 0};
    while (!result && poll(&readable, 1, 10000) > 0) {
        char chunk[256];
        const ssize_t count = read(pipeFds[0], chunk, sizeof chunk);
        if (count <= 0)
            break;
        output.append(chunk, static_cast<std::size_t>(count));
        const std::size_t at = output.find("first-show ");
        if (at != std::string::npos && output.find('\n', at) != std::string::npos) {
            const long long shown = std::atoll(output.c_str() + at + 11);
            const long long start =
                std::chrono::duration_cast<std::chrono::nanoseconds>(started.time_since_epoch())
                    .count();
            result = static_cast<double>(shown - start) / 1e6;
        }
    }
    close(pipeFds[0]);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    return result;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void Report(const char* name, const std::filesystem::path& program, int runs) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "murmelo-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data()))
            return;
        if (std::optional<double> ms = TimeOneStart(program, pattern))
            times.push_back(*ms);
        std::filesystem::remove_all(pattern);
    }
    if (times.empty()) {
        std::printf("%-10s no run reported its first show\n", name);
        return;
    }
    std::printf("%-10s median %7.1f ms   min %7.1f ms   max %7.1f ms   (%zu of %d runs)\n", name,
                Median(times), *std::min_element(times.begin(), times.end()),
                *std::max_element(times.begin(), times.end()), times.size(), runs);
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    setenv("MURMELO_REPORT_FIRST_SHOW", "1", 1);
    const std::filesystem::path folder = std::filesystem::canonical("/proc/self/exe").parent_path();
    std::printf("Time from process start to the dialog's first paint, %d fresh processes each\n",
                runs);
    Report("murmelo", folder / "murmelo", runs);
    Report("bare Qt", folder / "bench_startup_bare_qt", runs);
    return 0;
}
