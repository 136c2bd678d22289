#include "tests/towav/ConverterProcess.h"

#include "tests/support/ChildProcess.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <unistd.h>

namespace {

// Runs the converter in a child whose standard output and error go to the given files
// (when given). Its exit status, or nothing when it did not exit within the limit.
std::optional<int> Run(const std::vector<std::string>& arguments, Privileges privileges,
                       std::FILE* output, std::FILE* error, std::chrono::milliseconds limit) {
    return RunInChild(
        [&] {
            if (output && error) {
                dup2(fileno(output), STDOUT_FILENO);
                dup2(fileno(error), STDERR_FILENO);
            }
            if (privileges == Privileges::Unprivileged && !DropRootPrivileges())
                return 126;
            std::vector<char*> argv{const_cast<char*>(TOWAV_PATH)};
            for (const std::string& argument : arguments)
                argv.push_back(const_cast<char*>(argument.c_str()));
            argv.push_back(nullptr);
            execv(TOWAV_PATH, argv.data());
            return 127;
        },
        limit);
}

std::string Contents(std::FILE* file) {
    std::string text;
    std::rewind(file);
    for (int c; (c = std::fgetc(file)) != EOF;)
        text += static_cast<char>(c);
    return text;
}

} // namespace

ConverterRun RunConverter(const std::vector<std::string>& arguments, Privileges privileges) {
    // Anonymous files outside the test's folder, so that they do not count as its entries.
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> output(std::tmpfile(), std::fclose);
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> error(std::tmpfile(), std::fclose);
    ConverterRun run;
    if (!output || !error)
        return run;
    run.status = Run(arguments, privileges, output.get(), error.get(), std::chrono::minutes(1));
    run.standardOutput = Contents(output.get());
    run.standardError = Contents(error.get());
    return run;
}

bool KillConverterAfter(const std::vector<std::string>& arguments,
                        std::chrono::milliseconds delay) {
    return !Run(arguments, Privileges::Own, nullptr, nullptr, delay).has_value();
}

std::vector<std::string> FolderEntries() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator("."))
        names.push_back(entry.path().lexically_relative(".").string());
    std::ranges::sort(names);
    return names;
}
