#include "platform/ui/CWinApp.h"
#include "tests/support/CaseName.h"

#include <gtest/gtest.h>

namespace {

struct LaunchCase {
    const char* name;
    friend void PrintTo(const LaunchCase& c, std::ostream* out) { *out << c.name; }
    std::vector<std::string> arguments;
    BOOL embedded;
    BOOL automated;
};

class LaunchSwitches : public testing::TestWithParam<LaunchCase> {};

} // namespace

TEST_P(LaunchSwitches, AreRecognisedInAnyCaseAndPosition) {
    CWinApp app;
    app.SetCommandLine(GetParam().arguments);
    EXPECT_EQ(app.RunEmbedded(), GetParam().embedded);
    EXPECT_EQ(app.RunAutomated(), GetParam().automated);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LaunchSwitches,
    testing::Values(
        LaunchCase{"none", {}, FALSE, FALSE},
        LaunchCase{"dash_embedding", {"-Embedding"}, TRUE, FALSE},
        LaunchCase{"slash_embedding_lower", {"/embedding"}, TRUE, FALSE},
        LaunchCase{"dash_automation_upper", {"-AUTOMATION"}, FALSE, TRUE},
        LaunchCase{"slash_automation_after_others", {"x.txt", "/Automation"}, FALSE, TRUE},
        LaunchCase{"other_arguments", {"Embedding", "--Automation", "-Embed"}, FALSE, FALSE}),
    CaseName());
