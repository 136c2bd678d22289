#include "tests/platform/process/ScratchDirectoryTest.h"

#include <cstdlib>
#include <string>

void ScratchDirectoryTest::SetUp() {
    std::string pattern = (std::filesystem::temp_directory_path() / "murmelo-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    m_outer = std::filesystem::current_path();
    m_scratch = pattern;
    std::filesystem::current_path(m_scratch);
}

void ScratchDirectoryTest::TearDown() {
    std::filesystem::current_path(m_outer);
    std::error_code ignored;
    std::filesystem::remove_all(m_scratch, ignored);
}
