#include "platform/ui/CWinApp.h"

#include <gtest/gtest.h>

// The launch switches count in either form and any case, wherever they stand.
TEST(WinApp, LaunchSwitchesAreRecognisedInAnyCaseAndPosition) {
    const struct {
        const char* name;
        std::vector<std::string> arguments;
        BOOL embedded;
        BOOL automated;
    } rows[] = {
        {"none", {}, FALSE, FALSE},
        {"dash embedding", {"-Embedding"}, TRUE, FALSE},
        {"slash embedding lower", {"/embedding"}, TRUE, FALSE},
        {"dash automation upper", {"-AUTOMATION"}, FALSE, TRUE},
        {"slash automation after others", {"x.txt", "/Automation"}, FALSE, TRUE},
        {"other arguments", {"Embedding", "--Automation", "-Embed"}, FALSE, FALSE},
    };
    for (const auto& row : rows) {
        CWinApp app;
        app.SetCommandLine(row.arguments);
        EXPECT_EQ(app.RunEmbedded(), row.embedded) << row.name;
        EXPECT_EQ(app.RunAutomated(), row.automated) << row.name;
    }
}
