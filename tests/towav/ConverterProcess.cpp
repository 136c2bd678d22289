#include "tests/towav/ConverterProcess.h"

#include "tests/support/ChildProcess.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// A copy of the converter that every user may run. The build tree may lie in a folder only
// its owner can enter (a checkout made with mktemp -d), where an unprivileged user could not
// start the built program; the temporary folder is open to everyone.
class ReachableConverter {
  public:
    ReachableConverter() {
        std::string pattern = fs::temp_directory_path() / "murmelo-towav-XXXXXX";
        if (!mkdtemp(pattern.data()))
            return;
        m_folder = pattern;
        std::error_code error;
        fs::permissions(m_folder, fs::perms(0755), error);
        fs::copy_file(TOWAV_PATH, m_folder / "towav.exe", error);
        if (!error)
            fs::permissions(m_folder / "towav.exe", fs::perms(0755), error);
        if (!error)
            m_program = m_folder / "towav.exe";
    }
    ~ReachableConverter() {
        std::error_code ignored;
        if (!m_folder.empty())
            fs::remove_all(m_folder, ignored);
    }
    ReachableConverter(const ReachableConverter&) = delete;
    ReachableConverter& operator=(const ReachableConverter&) = delete;

    // Empty when the copy could not be made.
    const fs::path& Program() const { return m_program; }

  private:
    fs::path m_folder;
    fs::path m_program;
};

// Runs the converter in a child whose standard output and error go to the given files
// (when given). Its exit status, or nothing when it did not exit within the limit.
std::optional<int> Run(const std::vector<std::string>& arguments, Privileges privileges,
                       std::FILE* output, std::FILE* error, std::chrono::milliseconds limit) {
    std::optional<ReachableConverter> copy;
    std::string program = TOWAV_PATH;
    if (privileges == Privileges::Unprivileged) {
        copy.emplace();
        program = copy->Program();
    }
    return RunInChild(
        [&] {
            if (output && error) {
                dup2(fileno(output), STDOUT_FILENO);
                dup2(fileno(error), STDERR_FILENO);
            }
            if (privileges == Privileges::Unprivileged && !DropRootPrivileges())
                return 126;
            std::vector<char*> argv{program.data()};
            for (const std::string& argument : arguments)
                argv.push_back(const_cast<char*>(argument.c_str()));
            argv.push_back(nullptr);
            execv(program.c_str(), argv.data());
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

std::size_t ConvertersRunningHere() {
    std::error_code error;
    const fs::path converter = fs::canonical(TOWAV_PATH, error);
    const fs::path here = fs::current_path();
    std::size_t count = 0;
    for (const auto& process : fs::directory_iterator("/proc", error)) {
        std::error_code gone;
        if (fs::read_symlink(process.path() / "exe", gone) == converter &&
            fs::read_symlink(process.path() / "cwd", gone) == here)
            ++count;
    }
    return count;
}

std::vector<std::string> FolderEntries() {
    std::vector<std::string> names;
    for (auto entry = fs::recursive_directory_iterator("."); entry != fs::end(entry); ++entry) {
        // The test's own XDG folders, where the converter keeps its voice check, are not
        // what it writes for its caller.
        if (entry.depth() == 0 && entry->path().filename().string().starts_with("xdg-")) {
            entry.disable_recursion_pending();
            continue;
        }
        names.push_back(entry->path().lexically_relative(".").string());
    }
    std::ranges::sort(names);
    return names;
}
