#pragma once

#include "tests/e2e/Environment.h"
#include "tests/e2e/SpawnedProcess.h"

#include <chrono>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

// The program under test, started as a user starts it, on the given display, with the
// default sound output: the built program in the current folder (where it keeps set.ini and
// finds towav.exe, linked there), or the installed launcher, which chooses its own folder.
class MurmeloProgram {
  public:
    static constexpr const char* kTitle = "Parlino";

    enum class Start { BuiltProgram, InstalledLauncher };

    // sound holds the variables that choose the sound server (PULSE_SERVER and the like).
    // The program's own messages go to log.
    MurmeloProgram(const std::string& display, const Environment& sound,
                   const std::filesystem::path& log, Start start = Start::BuiltProgram);

    bool Started() const { return m_process->Started(); }
    bool IsRunning() { return m_process->IsRunning(); }
    std::optional<int> WaitForExit(std::chrono::milliseconds limit) {
        return m_process->WaitForExit(limit);
    }

  private:
    std::unique_ptr<SpawnedProcess> m_process;
};
