#pragma once

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

// A new folder under the system's temporary folder, removed with all it holds when the
// object goes, also when a test left a read-only folder in it (to check a failing write).
class TemporaryFolder {
  public:
    explicit TemporaryFolder(const char* prefix) {
        std::string pattern = std::filesystem::temp_directory_path() / prefix;
        pattern += "-XXXXXX";
        if (!mkdtemp(pattern.data())) {
            std::perror("mkdtemp");
            std::abort();
        }
        m_path = pattern;
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    ~TemporaryFolder() {
        namespace fs = std::filesystem;
        std::error_code ignored;
        fs::permissions(m_path, fs::perms::owner_all, fs::perm_options::add, ignored);
        for (const auto& entry : fs::recursive_directory_iterator(m_path, ignored))
            if (entry.is_directory(ignored))
                fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
        fs::remove_all(m_path, ignored);
    }

    const std::filesystem::path& Path() const { return m_path; }

  private:
    std::filesystem::path m_path;
};
