#include "tests/export/ExportTest.h"

#include "tests/support/ScopedEnvironmentVariable.h"
#include "tests/support/XvfbServer.h"

// A converter still at work at the time-out is left running, and the file manager is shown,
// since the converter may yet write the file. Without a display there are no windows to
// find and so no notice; on a display the notice names the converter's main window, the
// owner of the progress window listed first.
TEST_F(ExportTest, TimeOutShowsTheFileAndTheTitleOfTheConvertersMainWindow) {
    XvfbServer server;
    for (const bool display : {false, true}) {
        if (display && !server.IsRunning())
            GTEST_SKIP() << server.Problem();
        ScopedEnvironmentVariable variable("DISPLAY", display ? std::optional(server.Display())
                                                              : std::nullopt);
        InstallConverter(display ? "exec '" MURMELO_CONVERTER_WINDOW "' 'Converter at work'"
                                 : "exec sleep 30");
        prompts.AnswerFileDialog(CurrentDir() + "/out.wav");
        Press("", {}, display ? 2000 : 100);
        KillConverter();
        EXPECT_EQ(RecordedCall().size(), 7u);
        EXPECT_EQ(browser.shownPaths(),
                  std::vector<std::string>(display ? 2 : 1, CurrentDir() + "/out.wav"));
    }
    ASSERT_EQ(prompts.Boxes().size(), 1u);
    EXPECT_EQ(prompts.Boxes()[0].text, "进程主窗体标题\nConverter at work");
}
