#include "platform/process/ProgramTrust.h"

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Why path may not be trusted, or an empty text.
std::string Untrusted(const std::filesystem::path& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return path.string() + " cannot be examined";
    if (status.st_uid != ::geteuid() && status.st_uid != 0)
        return path.string() + " belongs to another user";
    if ((status.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return path.string() + " may be changed by other users";
    return {};
}

} // namespace

std::string ProgramTrust::Problem(const std::string& path) {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::absolute(path, error);
    if (error || !std::filesystem::exists(program, error))
        return {};
    const std::filesystem::path file = std::filesystem::canonical(program, error);
    if (error)
        return program.string() + " cannot be examined";
    for (const auto& part : {program.parent_path(), file, file.parent_path()}) {
        std::string problem = Untrusted(part);
        if (!problem.empty())
            return problem;
    }
    return {};
}
