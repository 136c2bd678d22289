#include "ScratchDirectoryTest.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

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
    std::filesystem::permissions(m_scratch, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(m_scratch, ignored);
}

void ScratchDirectoryTest::WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ScratchDirectoryTest::ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
