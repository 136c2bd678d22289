#include "app/CMurmeloApp.h"
#include "platform/ole/ClassRegistry.h"
#include "platform/ui/CWnd.h"

#include "tests/support/DialogDriver.h"
#include "tests/support/ScriptedPrompts.h"

#include <QTimer>

#include <gtest/gtest.h>

// Start-up as the program's main runs it, with OLE failing: the message is shown and no
// window or modal loop follows. Should a loop run anyway, the timer ends its window; the
// timer goes with guard, so it leaves nothing behind for a later test's loop to run.
TEST(Startup, OleFailureShowsItsMessageAndNothingElse) {
    EnsureGuiApplication();
    ScriptedPrompts prompts;
    ClassRegistry::FailNextInitialize();
    bool looped = false;
    QObject guard;
    QTimer::singleShot(0, &guard, [&] {
        looped = true;
        if (CWnd* main = theApp.m_pMainWnd)
            main->SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED));
    });
    EXPECT_EQ(theApp.InitInstance(), FALSE);
    EXPECT_FALSE(looped);
    ASSERT_EQ(prompts.Boxes().size(), 1u);
    EXPECT_EQ(prompts.Boxes()[0].caption + ": " + prompts.Boxes()[0].text,
              "Murmelo: OLE 程序初始化失败。请确认 OLE 库程序是正确的版本。");
}
