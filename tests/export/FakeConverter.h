#pragma once

#include <string>
#include <vector>

// A converter for tests: a shell script written as towav.exe into the current directory.
// It records how it was called in converter-args.txt (the number of arguments, its own
// path, then each argument, one per line) and its process id in converter.pid, and then
// behaves as its settings say.
struct FakeConverter {
    int exitCode = 0;
    // Lines written to standard error before it ends.
    std::vector<std::string> errorLines;
    bool writesOutput = true;
    // Seconds to sleep before it ends; 0 for none.
    int sleepSeconds = 0;
    // A program the script becomes instead of ending (exec), with its arguments.
    std::vector<std::string> becomes;

    void Install() const;

    // What the last run recorded: empty when the converter never ran.
    static std::vector<std::string> RecordedCall();
    // Ends a converter that is still running.
    static void Kill();
};
