#include "platform/ui/FileDialogMemory.h"

#include "platform/profile/PrivateProfile.h"

#include <cstdlib>
#include <filesystem>

namespace {

constexpr const char* kSection = "FileDialog";
constexpr const char* kStateFileName = "file-dialogs.ini";

const char* KeyOf(FileDialogMode mode) {
    return mode == FileDialogMode::Open ? "Open" : "Save";
}

// Empty when neither XDG_STATE_HOME nor HOME names a folder to keep it in.
std::filesystem::path StateFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && state[0] == '/')
        return std::filesystem::path(state) / "murmelo";
    const char* home = std::getenv("HOME");
    if (home && home[0] == '/')
        return std::filesystem::path(home) / ".local/state/murmelo";
    return {};
}

} // namespace

std::optional<std::string> FileDialogMemory::LastFolder(FileDialogMode mode) {
    const std::filesystem::path folder = StateFolder();
    if (folder.empty())
        return std::nullopt;
    // A folder name is a path, which has no fixed bound here; 4096 is Linux's PATH_MAX.
    std::string buffer(4096, '\0');
    const DWORD length = GetPrivateProfileStringA(kSection, KeyOf(mode), "", buffer.data(),
                                                  static_cast<DWORD>(buffer.size()),
                                                  (folder / kStateFileName).c_str());
    buffer.resize(length);
    std::error_code error;
    if (buffer.empty() || !std::filesystem::is_directory(buffer, error))
        return std::nullopt;
    return buffer;
}

void FileDialogMemory::Remember(FileDialogMode mode, const std::string& chosenFile) {
    const std::filesystem::path folder = StateFolder();
    const std::string chosenFolder = std::filesystem::path(chosenFile).parent_path().string();
    std::error_code error;
    if (folder.empty() || chosenFolder.empty() ||
        (!std::filesystem::create_directories(folder, error) && error))
        return;
    WritePrivateProfileStringA(kSection, KeyOf(mode), chosenFolder.c_str(),
                               (folder / kStateFileName).c_str());
}
