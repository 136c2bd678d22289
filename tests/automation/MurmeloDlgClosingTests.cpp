// The main dialog's ways of ending, with and without an automation client holding the
// proxy, and how the proxy and the dialog let go of each other.
#include "automation/CMurmeloDlgAutoProxy.h"
#include "platform/ole/AfxOleServer.h"
#include "platform/ui/CWinApp.h"
#include "ui/CMurmeloDlg.h"

#include "tests/support/DialogDriver.h"
#include "tests/support/FakeSpeechRuntime.h"
#include "tests/support/ScriptedPrompts.h"

#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>
#include <memory>

namespace {

// The application object through which the proxy finds the main dialog.
CWinApp testApp;

// A proxy as the class factory makes it, through the run-time class record; it goes with
// its last reference, as it does when a client lets go.
CMurmeloDlgAutoProxy* CreateProxy() {
    return dynamic_cast<CMurmeloDlgAutoProxy*>(RUNTIME_CLASS(CMurmeloDlgAutoProxy)->CreateObject());
}

void SendOk(DialogDriver&) {
    testApp.m_pMainWnd->SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
}

class MurmeloDlgClosing : public testing::Test {
  protected:
    void SetUp() override {
        // Settings that pass the dialog's checks, so the OK command can end it.
        std::ofstream("set.ini") << "[Setting]\nLoop=1\n";
    }
    void TearDown() override {
        testApp.m_pMainWnd = nullptr;
        EXPECT_EQ(AfxOleCanExitApp(), TRUE) << "a proxy was left alive";
        EXPECT_TRUE(m_prompts.Boxes().empty());
    }

    FakeSpeechRuntime m_runtime;
    ScriptedPrompts m_prompts;
};

// Exit, Escape and the close box end the dialog without a proxy in the dialog's own tests.
TEST_F(MurmeloDlgClosing, WithoutAProxyTheOkCommandEndsTheDialog) {
    CMurmeloDlg dlg;
    testApp.m_pMainWnd = &dlg;
    EXPECT_EQ(DialogDriver::RunModal(dlg, SendOk), IDOK);
}

TEST_F(MurmeloDlgClosing, WithAProxyEveryWayOfClosingOnlyHidesTheDialog) {
    const std::pair<const char*, void (*)(DialogDriver&)> actions[] = {
        {"Exit button", [](DialogDriver& d) { d.Click(IDCANCEL); }},
        {"Escape", [](DialogDriver& d) { d.PressKey(Qt::Key_Escape); }},
        {"close box", [](DialogDriver& d) { d.CloseBox(); }},
        {"OK command", SendOk}};
    for (const auto& [name, act] : actions) {
        SCOPED_TRACE(name);
        CMurmeloDlg dlg;
        testApp.m_pMainWnd = &dlg;
        CMurmeloDlgAutoProxy* proxy = nullptr;
        bool hidden = false, loopWentOn = false;
        // Owns the second step, so that it cannot run in a later test's loop.
        QObject guard;
        const int result = DialogDriver::RunModal(dlg, [&](DialogDriver& d) {
            proxy = CreateProxy();
            act(d);
            act(d); // a second request while hidden only hides it again
            hidden = !d.Window()->isVisible();
            // The modal loop must go on: the next event still reaches it. Once the client
            // lets go, the same action ends the dialog as usual.
            QTimer::singleShot(0, &guard, [&] {
                loopWentOn = true;
                proxy->ExternalRelease();
                EXPECT_EQ(dlg.m_pAutoProxy, nullptr);
                dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED));
            });
        });
        EXPECT_TRUE(hidden);
        EXPECT_TRUE(loopWentOn);
        EXPECT_EQ(result, IDCANCEL);
    }
}

// Whichever goes first, the other holds no pointer to it; a proxy made without a main
// window has no dialog, and its release touches none.
TEST_F(MurmeloDlgClosing, ProxyWithoutADialogTouchesNone) {
    auto dlg = std::make_unique<CMurmeloDlg>();
    testApp.m_pMainWnd = dlg.get();
    CMurmeloDlgAutoProxy* proxy = CreateProxy();
    testApp.m_pMainWnd = nullptr;
    dlg.reset();
    EXPECT_EQ(proxy->m_pDialog, nullptr);
    proxy->ExternalRelease();

    proxy = CreateProxy();
    EXPECT_EQ(proxy->m_pDialog, nullptr);
    proxy->ExternalRelease();
}

} // namespace
