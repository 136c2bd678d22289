#include "app/CMurmeloApp.h"
#include "platform/ole/ClassRegistry.h"
#include "platform/ui/CWnd.h"

#include "tests/support/DialogDriver.h"
#include "tests/support/FakeSpeechRuntime.h"
#include "tests/support/ScriptedPrompts.h"

#include <QTimer>

#include <gtest/gtest.h>

// Start-up as the program's main runs it. The first modal loop notes what it finds of the
// main window, "visible caption", and ends it with IDCANCEL; InitInstance then returns FALSE,
// and so it does when no loop ran. The timer goes with guard, so a start-up that never
// reaches a loop leaves nothing behind for a later test's loop to run.
std::string RunStartUp() {
    std::string seen = "no loop";
    QObject guard;
    QTimer::singleShot(0, &guard, [&] {
        seen = "no main window";
        if (CWnd* main = theApp.m_pMainWnd) {
            CString caption;
            main->GetWindowText(caption);
            seen = (main->IsWindowVisible() ? "visible " : "hidden ") + caption.str();
            main->SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED));
        }
    });
    EXPECT_EQ(theApp.InitInstance(), FALSE);
    return seen;
}

TEST(Startup, OleFailureShowsItsMessageAndNothingElse) {
    EnsureGuiApplication();
    ScriptedPrompts prompts;
    ClassRegistry::FailNextInitialize();
    EXPECT_EQ(RunStartUp(), "no loop");
    ASSERT_EQ(prompts.Boxes().size(), 1u);
    EXPECT_EQ(prompts.Boxes()[0].caption + ": " + prompts.Boxes()[0].text,
              "Murmelo: OLE 程序初始化失败。请确认 OLE 库程序是正确的版本。");
}

TEST(Startup, RunsTheMainDialogAndReturnsFalseWhenItEnds) {
    EnsureGuiApplication();
    FakeSpeechRuntime runtime({"Voice A"});
    ScriptedPrompts prompts;
    EXPECT_EQ(RunStartUp(), "visible Parlino");
    EXPECT_EQ(theApp.m_pMainWnd, nullptr);
    EXPECT_TRUE(prompts.Boxes().empty());
}
