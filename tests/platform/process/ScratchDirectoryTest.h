#pragma once

#include <filesystem>
#include <gtest/gtest.h>

// Runs each test in a fresh temporary folder that is its current directory, and removes
// the folder afterwards.
class ScratchDirectoryTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    const std::filesystem::path& scratch() const { return m_scratch; }

  private:
    std::filesystem::path m_outer;
    std::filesystem::path m_scratch;
};
