#include "tests/export/ExportTestSupport.h"
#include "tests/export/FakeConverter.h"
#include "tests/support/ScopedEnvironmentVariable.h"
#include "tests/support/XvfbServer.h"

namespace {

constexpr const char* kWindowNotice = "进程主窗体标题";

std::vector<std::string> WindowNotices(const ScriptedPrompts& prompts) {
    std::vector<std::string> texts;
    for (const ScriptedPrompts::Box& box : prompts.Boxes())
        if (box.text.rfind(kWindowNotice, 0) == 0)
            texts.push_back(box.text);
    return texts;
}

} // namespace

// Without a display there are no windows to find: the time-out passes without a notice,
// and the file manager is shown, since the converter may still write the file.
TEST_F(ExportTest, TimeOutWithoutDisplayShowsTheFileAndLeavesTheConverterRunning) {
    ScopedEnvironmentVariable noDisplay("DISPLAY", std::nullopt);
    FakeConverter{.becomes = {"sleep", "30"}}.Install();
    const std::string output = CurrentDir() + "/out.wav";
    prompts.AnswerFileDialog(output);
    ExportDlg dlg(100);

    PressToWav(dlg, {});

    EXPECT_EQ(FakeConverter::RecordedCall().size(), 7u);
    EXPECT_TRUE(prompts.Boxes().empty());
    EXPECT_EQ(browser.shownPaths(), std::vector<std::string>{output});
    FakeConverter::Kill();
}

TEST_F(ExportTest, TimeOutShowsTheTitleOfTheConvertersMainWindow) {
    XvfbServer server;
    if (!server.IsRunning())
        GTEST_SKIP() << server.Problem();
    ScopedEnvironmentVariable display("DISPLAY", server.Display());
    FakeConverter{.becomes = {MURMELO_CONVERTER_WINDOW, "Converter at work"}}.Install();
    const std::string output = CurrentDir() + "/out.wav";
    prompts.AnswerFileDialog(output);
    ExportDlg dlg(2000);

    PressToWav(dlg, {});
    FakeConverter::Kill();

    EXPECT_EQ(WindowNotices(prompts),
              std::vector<std::string>{std::string(kWindowNotice) + "\nConverter at work"});
    EXPECT_TRUE(InfoNotices().empty());
    EXPECT_EQ(browser.shownPaths(), std::vector<std::string>{output});
}
