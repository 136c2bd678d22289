#pragma once

#include "tests/e2e/Environment.h"

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

// A program the tests start, in the current folder and in a process group of its own, so that
// whatever it starts in turn ends with it. The destructor ends the whole group, also when a
// test fails half way; the program is killed as well when the test program dies.
class SpawnedProcess {
  public:
    struct Options {
        Environment environment = Environment::Inherited();
        // Standard output and error are appended to this file; empty: discarded.
        std::filesystem::path log;
        // When set, standard output goes to this descriptor instead of the log.
        int outputDescriptor = -1;
        // When set, this descriptor is the child's descriptor 3.
        int handedDescriptor = -1;
    };

    // arguments[0] is looked up in PATH. Started() tells whether that worked.
    SpawnedProcess(const std::vector<std::string>& arguments, const Options& options);
    SpawnedProcess(const SpawnedProcess&) = delete;
    SpawnedProcess& operator=(const SpawnedProcess&) = delete;
    ~SpawnedProcess();

    bool Started() const { return m_pid > 0; }
    pid_t Pid() const { return m_pid; }
    bool IsRunning();
    // The exit code (128 + the signal number for a killed process) once the process has
    // ended within limit; nothing while it still runs.
    std::optional<int> WaitForExit(std::chrono::milliseconds limit);
    // Asks the whole group to end, and kills it when it does not within a short time.
    void Stop();

  private:
    bool HasEnded(int options);

    pid_t m_pid = -1;
    std::optional<int> m_exitCode;
};
