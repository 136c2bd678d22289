// QtDBus wants an application object in the test process; it lives from before the first
// test to after the last.
#include <QCoreApplication>
#include <gtest/gtest.h>

#include <memory>

namespace {

class QtApplicationEnvironment : public testing::Environment {
  public:
    void SetUp() override { m_application = std::make_unique<QCoreApplication>(m_argc, m_argv); }
    void TearDown() override { m_application.reset(); }

  private:
    char m_name[32] = "platform_ole_automation_tests";
    char* m_argv[2] = {m_name, nullptr};
    int m_argc = 1;
    std::unique_ptr<QCoreApplication> m_application;
};

// Registered before main, as GoogleTest allows, because the shared test main adds no
// environments of its own. GoogleTest owns the environment.
[[maybe_unused]] testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

} // namespace
