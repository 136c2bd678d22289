#pragma once

#include <filesystem>
#include <gtest/gtest.h>
#include <string>

// Runs each test in a fresh temporary folder that is its current directory, and removes
// the folder afterwards.
class ScratchDirectoryTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    const std::filesystem::path& scratch() const { return m_scratch; }

    static void WriteFile(const std::filesystem::path& path, const std::string& bytes);
    static std::string ReadFile(const std::filesystem::path& path);

  private:
    std::filesystem::path m_outer;
    std::filesystem::path m_scratch;
};
