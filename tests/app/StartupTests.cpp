#include "app/CMurmeloApp.h"
#include "platform/ole/ClassRegistry.h"
#include "platform/ui/CWnd.h"

#include "tests/support/DialogDriver.h"
#include "tests/support/FakeSpeechRuntime.h"
#include "tests/support/ScriptedPrompts.h"

#include <QTimer>

#include <gtest/gtest.h>

namespace {

// What the first modal loop found of the main window, which it then ends with IDCANCEL.
struct MainWindowSeen {
    bool loopRan = false;
    bool visible = false;
    std::string caption;
};

// Start-up as the program's main runs it.
MainWindowSeen RunStartUp() {
    MainWindowSeen seen;
    // The timer goes with guard, so a start-up that never reaches a loop leaves nothing
    // behind for a later test's loop to run.
    QObject guard;
    QTimer::singleShot(0, &guard, [&] {
        seen.loopRan = true;
        if (CWnd* main = theApp.m_pMainWnd) {
            CString caption;
            main->GetWindowText(caption);
            seen = {true, main->IsWindowVisible() != FALSE, caption.str()};
            main->SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED));
        }
    });
    EXPECT_EQ(theApp.InitInstance(), FALSE);
    return seen;
}

} // namespace

TEST(Startup, OleFailureShowsItsMessageAndNothingElse) {
    EnsureGuiApplication();
    ScriptedPrompts prompts;
    ClassRegistry::FailNextInitialize();
    EXPECT_FALSE(RunStartUp().loopRan);
    ASSERT_EQ(prompts.Boxes().size(), 1u);
    EXPECT_EQ(prompts.Boxes()[0].caption, "Murmelo");
    EXPECT_EQ(prompts.Boxes()[0].text, "OLE 程序初始化失败。请确认 OLE 库程序是正确的版本。");
    EXPECT_EQ(prompts.Boxes()[0].buttons, std::vector<int>{IDOK});
}

TEST(Startup, RunsTheMainDialogAndReturnsFalseWhenItEnds) {
    EnsureGuiApplication();
    FakeSpeechRuntime runtime({"Voice A"});
    ScriptedPrompts prompts;
    const MainWindowSeen seen = RunStartUp();
    EXPECT_TRUE(seen.visible);
    EXPECT_EQ(seen.caption, "Parlino");
    EXPECT_EQ(theApp.m_pMainWnd, nullptr);
    EXPECT_TRUE(prompts.Boxes().empty());
}
