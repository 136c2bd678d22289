// The dialog of a program that a client started, on a real X11 display: visible after the
// creation, only hidden by Exit, Escape and the close box, and gone with the process when
// the client lets go. The keys are real input events (XTEST, through xdotool); the close
// box is the message a window manager sends.
#include "tests/automation/MurmeloServerTest.h"
#include "tests/automation/X11Windows.h"
#include "tests/automation/XvfbDisplay.h"

#include <QDeadlineTimer>
#include <QStandardPaths>
#include <QThread>

#include <functional>
#include <memory>

namespace {

// Long enough for any window change the program makes in answer to one event.
constexpr int kWindowChangeMs = 5000;

// The display is started before the environment and the bus that the program inherits.
struct DisplayHolder {
    XvfbDisplay m_xvfb;
};

class HiddenDialog : private DisplayHolder, public MurmeloServerTest {
  protected:
    HiddenDialog() : MurmeloServerTest("xcb", m_xvfb.Display()) {}

    void SetUp() override {
        if (!m_xvfb.IsRunning())
            GTEST_SKIP() << "Xvfb is not available";
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            GTEST_SKIP() << "xdotool is not available";
        MurmeloServerTest::SetUp();
        m_windows = std::make_unique<X11Windows>(m_xvfb.Display().toStdString());
        ASSERT_TRUE(m_windows->IsConnected());
        InstallActivationFile();
    }

    // The main dialog of process pid, once it is there.
    xcb_window_t WaitForDialog(uint pid) {
        const QDeadlineTimer deadline(kWindowChangeMs);
        xcb_window_t window = XCB_WINDOW_NONE;
        while ((window = m_windows->Find(pid, "Parlino")) == XCB_WINDOW_NONE &&
               !deadline.hasExpired())
            QThread::msleep(10);
        return window;
    }

    bool BecomesViewable(xcb_window_t window, bool viewable) {
        const QDeadlineTimer deadline(kWindowChangeMs);
        while (m_windows->IsViewable(window) != viewable) {
            if (deadline.hasExpired())
                return false;
            QThread::msleep(10);
        }
        return true;
    }

    // Gives the window the keyboard focus and types `keys` on the display.
    static void Type(xcb_window_t window, const char* keys) {
        const QString id = QString::number(window);
        ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"),
                                    {QStringLiteral("windowfocus"), QStringLiteral("--sync"), id}),
                  0);
        ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"),
                                    {QStringLiteral("key"), QString::fromLatin1(keys)}),
                  0);
    }

    std::unique_ptr<X11Windows> m_windows;
};

TEST_F(HiddenDialog, DialogIsVisibleAndGoesWithTheRelease) {
    BusClient client = Client("client");
    QString path;
    const QString server = CreateObject(client, IidMurmelo(), &path);
    const uint pid = client.ProcessOf(server);
    const xcb_window_t dialog = WaitForDialog(pid);
    ASSERT_NE(dialog, XCB_WINDOW_NONE) << "the program shows no dialog";
    EXPECT_TRUE(BecomesViewable(dialog, true));

    EXPECT_EQ(client.Release(server, path).type(), QDBusMessage::ReplyMessage);
    EXPECT_TRUE(EndsWithinASecond(server, pid));
}

TEST_F(HiddenDialog, ClosingOnlyHidesTheDialogUntilTheClientLetsGo) {
    struct Row {
        const char* name;
        std::function<void(X11Windows&, xcb_window_t)> close;
    };
    const Row rows[] = {
        {"Exit", [](X11Windows&, xcb_window_t window) { Type(window, "alt+e"); }},
        {"Escape", [](X11Windows&, xcb_window_t window) { Type(window, "Escape"); }},
        {"close box",
         [](X11Windows& windows, xcb_window_t window) { windows.RequestClose(window); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        BusClient client = Client("client");
        QString path;
        const QString server = CreateObject(client, IidMurmelo(), &path);
        const uint pid = client.ProcessOf(server);
        const xcb_window_t dialog = WaitForDialog(pid);
        ASSERT_NE(dialog, XCB_WINDOW_NONE) << "the program shows no dialog";
        ASSERT_TRUE(BecomesViewable(dialog, true));

        row.close(*m_windows, dialog);
        EXPECT_TRUE(BecomesViewable(dialog, false)) << "the dialog is still shown";
        QThread::msleep(300);
        EXPECT_FALSE(ProcessEnded(pid)) << "closing ended the program";
        EXPECT_TRUE(client.NameHasOwner(server));

        // Hidden, the dialog still goes with the client's release.
        EXPECT_EQ(client.Release(server, path).type(), QDBusMessage::ReplyMessage);
        EXPECT_TRUE(EndsWithinASecond(server, pid));
    }
}

} // namespace
