#pragma once

#include <QCoreApplication>
#include <gtest/gtest.h>

#include <memory>

// An application object for the test process, which QtDBus wants, from before the first
// test to after the last. A test program registers it with AddGlobalTestEnvironment.
class QtApplicationEnvironment : public testing::Environment {
  public:
    void SetUp() override { m_application = std::make_unique<QCoreApplication>(m_argc, m_argv); }
    void TearDown() override { m_application.reset(); }

  private:
    char m_name[8] = "tests";
    char* m_argv[2] = {m_name, nullptr};
    int m_argc = 1;
    std::unique_ptr<QCoreApplication> m_application;
};
