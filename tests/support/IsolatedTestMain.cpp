// The main of every test program. Each test runs in a fresh temporary folder that is its
// current directory, its XDG_DATA_HOME, XDG_STATE_HOME and XDG_CACHE_HOME, so no test reads
// or writes the user's files, and no test sees what an earlier one left behind.
#include "tests/support/TemporaryFolder.h"

#include <gtest/gtest.h>

namespace {

class IsolatedFolderListener : public testing::EmptyTestEventListener {
  public:
    void OnTestStart(const testing::TestInfo&) override {
        m_folder.emplace("murmelo-test");
        m_previous = std::filesystem::current_path();
        std::filesystem::current_path(m_folder->Path());
        setenv("XDG_DATA_HOME", (m_folder->Path() / "xdg-data").c_str(), 1);
        setenv("XDG_STATE_HOME", (m_folder->Path() / "xdg-state").c_str(), 1);
        setenv("XDG_CACHE_HOME", (m_folder->Path() / "xdg-cache").c_str(), 1);
    }

    void OnTestEnd(const testing::TestInfo&) override {
        std::error_code ignored;
        std::filesystem::current_path(m_previous, ignored);
        m_folder.reset();
    }

  private:
    std::optional<TemporaryFolder> m_folder;
    std::filesystem::path m_previous;
};

} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new IsolatedFolderListener);
    return RUN_ALL_TESTS();
}
