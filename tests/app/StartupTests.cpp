#include "app/CMurmeloApp.h"
#include "platform/ole/ClassRegistry.h"
#include "platform/ui/CWnd.h"

#include "tests/support/DialogDriver.h"
#include "tests/support/FakeSpeechRuntime.h"
#include "tests/support/ScriptedPrompts.h"

#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

namespace {

// Once a modal loop runs, records the main window's caption and ends it with IDCANCEL.
class MainWindowProbe {
  public:
    MainWindowProbe() {
        QTimer::singleShot(0, &m_guard, [this] {
            m_bLoopRan = true;
            if (CWnd* main = theApp.m_pMainWnd) {
                CString caption;
                main->GetWindowText(caption);
                m_caption = caption.str();
                m_bVisible = main->IsWindowVisible();
                main->SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED));
            }
        });
    }

    bool m_bLoopRan = false;
    bool m_bVisible = false;
    std::string m_caption;

  private:
    QObject m_guard;
};

} // namespace

TEST(Startup, OleFailureShowsItsMessageAndNothingElse) {
    EnsureGuiApplication();
    ScriptedPrompts prompts;
    MainWindowProbe probe;
    ClassRegistry::FailNextInitialize();
    EXPECT_EQ(theApp.InitInstance(), FALSE);
    EXPECT_FALSE(probe.m_bLoopRan);
    ASSERT_EQ(prompts.Boxes().size(), 1u);
    EXPECT_EQ(prompts.Boxes()[0].caption, "Murmelo");
    EXPECT_EQ(prompts.Boxes()[0].text, "OLE 程序初始化失败。请确认 OLE 库程序是正确的版本。");
    EXPECT_EQ(prompts.Boxes()[0].buttons, std::vector<int>{IDOK});
}

TEST(Startup, RunsTheMainDialogAndReturnsFalseWhenItEnds) {
    EnsureGuiApplication();
    FakeSpeechRuntime runtime({"Voice A"});
    ScriptedPrompts prompts;
    MainWindowProbe probe;
    EXPECT_EQ(theApp.InitInstance(), FALSE);
    EXPECT_TRUE(probe.m_bLoopRan);
    EXPECT_TRUE(probe.m_bVisible);
    EXPECT_EQ(probe.m_caption, "Parlino");
    EXPECT_EQ(theApp.m_pMainWnd, nullptr);
    EXPECT_TRUE(prompts.Boxes().empty());
}
