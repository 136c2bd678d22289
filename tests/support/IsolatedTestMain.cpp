// The main of every test program. Each test runs in a fresh temporary folder that is its
// current directory, its XDG_DATA_HOME, XDG_STATE_HOME and XDG_CACHE_HOME, so no test reads
// or writes the user's files, and no test sees what an earlier one left behind.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace {

class IsolatedFolderListener : public testing::EmptyTestEventListener {
  public:
    void OnTestStart(const testing::TestInfo&) override {
        std::string pattern = (std::filesystem::temp_directory_path() / "murmelo-test-XXXXXX");
        if (!mkdtemp(pattern.data())) {
            std::perror("mkdtemp");
            std::abort();
        }
        m_folder = pattern;
        m_previous = std::filesystem::current_path();
        std::filesystem::current_path(m_folder);
        setenv("XDG_DATA_HOME", (m_folder / "xdg-data").c_str(), 1);
        setenv("XDG_STATE_HOME", (m_folder / "xdg-state").c_str(), 1);
        setenv("XDG_CACHE_HOME", (m_folder / "xdg-cache").c_str(), 1);
    }

    void OnTestEnd(const testing::TestInfo&) override {
        std::error_code ignored;
        std::filesystem::current_path(m_previous, ignored);
        // A test may leave a read-only folder behind (to check a failing write); make it
        // writable again so that the folder can be removed.
        for (const auto& entry : std::filesystem::recursive_directory_iterator(m_folder, ignored))
            if (entry.is_directory(ignored))
                std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                             std::filesystem::perm_options::add, ignored);
        std::filesystem::permissions(m_folder, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_folder, ignored);
    }

  private:
    std::filesystem::path m_folder;
    std::filesystem::path m_previous;
};

} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new IsolatedFolderListener);
    return RUN_ALL_TESTS();
}
