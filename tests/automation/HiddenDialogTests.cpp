// The real program on an X11 display of its own. The dialog of a program that a client
// started: visible after the creation, only hidden by Exit, Escape and the close box, and gone
// with the process, and with any box left open on it, when the client lets go. Also what the
// command line and a screen reader make of the window. The keys are real input events (XTEST,
// through xdotool); the close box is the message a window manager sends.
#include "tests/automation/MurmeloServerTest.h"

#include "tests/support/ChildProcess.h"
#include "tests/support/Eventually.h"
#include "tests/support/X11Windows.h"
#include "tests/support/XvfbServer.h"

#include <QStandardPaths>
#include <QThread>

#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

namespace {

using namespace std::chrono_literals;

// Long enough for any window change the program makes in answer to one event.
constexpr auto kWindowChange = 5s;

// The display is started before the bus that the program inherits it from.
struct DisplayHolder {
    XvfbServer m_xvfb;
};

class HiddenDialog : private DisplayHolder, public MurmeloServerTest {
  protected:
    HiddenDialog() : MurmeloServerTest("xcb", m_xvfb.Display()), m_windows(m_xvfb.Display()) {}

    void SetUp() override {
        if (!m_xvfb.IsRunning())
            GTEST_SKIP() << "no X server: " << m_xvfb.Problem();
        if (QStandardPaths::findExecutable(QStringLiteral("xdotool")).isEmpty())
            GTEST_SKIP() << "xdotool is not available";
        MurmeloServerTest::SetUp();
        ASSERT_TRUE(m_windows.IsConnected());
        InstallActivationFile();
    }

    // Creates the object and waits for the program's dialog to be on the screen.
    void CreateWithDialog(BusClient& client, QString& server, QString& path, uint& pid,
                          xcb_window_t& dialog) {
        server = CreateObject(client, IidMurmelo(), &path);
        pid = client.ProcessOf(server);
        ASSERT_TRUE(Eventually([&] { return (dialog = m_windows.Find(pid, "Parlino")) != 0; },
                               kWindowChange))
            << "the program shows no dialog";
        ASSERT_TRUE(BecomesViewable(dialog, true));
    }

    bool BecomesViewable(xcb_window_t window, bool viewable) {
        return Eventually([&] { return m_windows.IsViewable(window) == viewable; }, kWindowChange);
    }

    // Gives the window the keyboard focus and types `keys` on the test's display.
    void Type(xcb_window_t window, const char* keys) {
        Xdotool({"windowfocus", "--sync", QString::number(window)});
        Xdotool({"key", keys});
    }

    // A key for whichever window has the focus now, such as an open menu.
    void Press(const char* key) { Xdotool({"key", key}); }

    void Xdotool(const QStringList& arguments) {
        QProcess xdotool;
        xdotool.setProcessEnvironment(m_bus.Environment());
        xdotool.start("xdotool", arguments);
        ASSERT_TRUE(xdotool.waitForFinished());
        ASSERT_EQ(xdotool.exitCode(), 0) << xdotool.readAllStandardError().toStdString();
    }

    X11Windows m_windows;
};

TEST_F(HiddenDialog, DialogIsVisibleAndGoesWithTheRelease) {
    BusClient client = Client("client");
    QString server, path;
    uint pid = 0;
    xcb_window_t dialog = XCB_WINDOW_NONE;
    ASSERT_NO_FATAL_FAILURE(CreateWithDialog(client, server, path, pid, dialog));

    EXPECT_EQ(client.Release(server, path).type(), QDBusMessage::ReplyMessage);
    EXPECT_TRUE(EndsWithinASecond(server, pid));
}

TEST_F(HiddenDialog, ClosingOnlyHidesTheDialogUntilTheClientLetsGo) {
    const struct {
        const char* name;
        std::function<void(xcb_window_t)> close;
    } rows[] = {
        {"Exit", [this](xcb_window_t window) { Type(window, "alt+e"); }},
        {"Escape", [this](xcb_window_t window) { Type(window, "Escape"); }},
        {"close box", [this](xcb_window_t window) { m_windows.RequestClose(window); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        BusClient client = Client("client");
        QString server, path;
        uint pid = 0;
        xcb_window_t dialog = XCB_WINDOW_NONE;
        ASSERT_NO_FATAL_FAILURE(CreateWithDialog(client, server, path, pid, dialog));

        row.close(dialog);
        EXPECT_TRUE(BecomesViewable(dialog, false)) << "the dialog is still shown";
        QThread::msleep(300);
        EXPECT_FALSE(ProcessEnded(static_cast<pid_t>(pid))) << "closing ended the program";
        EXPECT_TRUE(client.NameHasOwner(server));

        // Hidden, the dialog still goes with the client's release.
        EXPECT_EQ(client.Release(server, path).type(), QDBusMessage::ReplyMessage);
        EXPECT_TRUE(EndsWithinASecond(server, pid));
    }
}

// The program reads no option of the toolkit's from its command line: asked for the
// offscreen platform (and a mirrored window), it still shows its window on the display.
TEST_F(HiddenDialog, ToolkitOptionsOnTheCommandLineHaveNoEffect) {
    QProcess program;
    program.setProcessEnvironment(m_bus.Environment());
    program.start(QStringLiteral(MURMELO_PROGRAM), {"-platform", "offscreen", "-reverse"});
    ASSERT_TRUE(program.waitForStarted());
    const auto pid = static_cast<uint>(program.processId());
    xcb_window_t dialog = XCB_WINDOW_NONE;
    EXPECT_TRUE(
        Eventually([&] { return (dialog = m_windows.Find(pid, "Parlino")) != 0; }, kWindowChange))
        << "the window is not on the display";
    program.kill();
    program.waitForFinished();
}

// What a screen reader shows of the window of pid, one "role|name" line per object on the
// screen, the focused one marked with a star.
QStringList AccessibleWindow(const QProcessEnvironment& environment, const QString& pid) {
    QProcess reader;
    reader.setProcessEnvironment(environment);
    reader.start(QStringLiteral(ACCESSIBLE_WINDOW),
                 pid.isEmpty() ? QStringList() : QStringList{pid});
    if (!reader.waitForFinished(10000))
        return {};
    return QString::fromUtf8(reader.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
}

// Through the accessibility bus, as a screen reader reads the window: every control a user can
// reach has a name that says what it is, the hidden ones are not there, and the focus follows Tab.
TEST_F(HiddenDialog, ScreenReadersFindNamedControlsAndFollowTheFocus) {
    QProcessEnvironment environment = m_bus.Environment();
    // The accessibility bus keeps its socket in a folder of this test's own.
    const std::filesystem::path runtime = std::filesystem::current_path() / "runtime";
    std::filesystem::create_directories(runtime);
    std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
    environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.string()));
    // The accessibility bus starts first, so the program finds it when it starts.
    QProcess accessibilityBus;
    accessibilityBus.setProcessEnvironment(environment);
    accessibilityBus.start(QStringLiteral("/usr/libexec/at-spi-bus-launcher"),
                           {"--launch-immediately"});
    if (!accessibilityBus.waitForStarted())
        GTEST_SKIP() << "at-spi2-core is not installed";
    BusClient client = Client("screen reader");
    ASSERT_TRUE(Eventually([&] { return client.NameHasOwner("org.a11y.Bus"); }, kWindowChange));
    environment.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    // The text box is the source, so that Tab reaches it.
    std::ofstream("set.ini") << "[Setting]\nInputFileChk=0\n";
    QProcess program;
    program.setProcessEnvironment(environment);
    program.start(QStringLiteral(MURMELO_PROGRAM));
    ASSERT_TRUE(program.waitForStarted());
    const QString pid = QString::number(program.processId());
    xcb_window_t dialog = XCB_WINDOW_NONE;
    ASSERT_TRUE(Eventually(
        [&] {
            return (dialog = m_windows.Find(static_cast<uint>(program.processId()), "Parlino")) !=
                   0;
        },
        kWindowChange));
    QStringList shown;
    ASSERT_TRUE(Eventually([&] { return (shown = AccessibleWindow(environment, pid)).size() > 1; },
                           kWindowChange))
        << "the window is not on the accessibility bus";
    for (const char* line :
         {"text|Input Text", "text|Rate", "text|Volume", "text|Loop", "combo box|Voice",
          "push button|Rate up", "push button|Rate down", "push button|Volume up",
          "push button|Volume down", "push button|Browse for the input file"})
        EXPECT_TRUE(shown.contains(QString::fromUtf8(line))) << line;
    EXPECT_FALSE(shown.contains("push button|Speak English")) << "a hidden control is in reach";

    const QStringList focusOrder = {"push button|Read*", "push button|Exit*", "text|Input Text*",
                                    "push button|Stop*", "push button|Rate up*"};
    for (const QString& expected : focusOrder) {
        EXPECT_TRUE(Eventually(
            [&] { return AccessibleWindow(environment, pid).contains(expected); }, kWindowChange))
            << expected.toStdString();
        Type(dialog, "Tab");
    }
    program.kill();
    program.waitForFinished();
    accessibilityBus.terminate();
    accessibilityBus.waitForFinished();
}

// A box the user left open must not keep the program alive once the client has let go.
TEST_F(HiddenDialog, OpenBoxesCloseWithTheDialogOnTheRelease) {
    const struct {
        const char* name;
        std::vector<const char*> keys;
        const char* title;
    } rows[] = {
        // Shift+Tab from Read wraps round to Help.
        {"Help notice", {"shift+Tab", "space"}, "Info"},
        {"about box", {"alt+space", "a"}, "关于 Murmelo"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        BusClient client = Client("client");
        QString server, path;
        uint pid = 0;
        xcb_window_t dialog = XCB_WINDOW_NONE;
        ASSERT_NO_FATAL_FAILURE(CreateWithDialog(client, server, path, pid, dialog));
        Type(dialog, row.keys.front());
        for (std::size_t i = 1; i < row.keys.size(); ++i) {
            QThread::msleep(300);
            Press(row.keys[i]);
        }
        xcb_window_t box = XCB_WINDOW_NONE;
        ASSERT_TRUE(
            Eventually([&] { return (box = m_windows.Find(pid, row.title)) != 0; }, kWindowChange))
            << "the box did not open";
        ASSERT_TRUE(BecomesViewable(box, true));

        EXPECT_EQ(client.Release(server, path).type(), QDBusMessage::ReplyMessage);
        EXPECT_TRUE(EndsWithinASecond(server, pid));
    }
}

} // namespace
