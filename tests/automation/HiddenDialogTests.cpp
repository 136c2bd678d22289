// The real program on an X11 display of its own. The dialog of a program that a client
// started: visible after the creation, only hidden by Exit, Escape and the close box, and gone
// with the process, and with any box left open on it, when the client lets go. Also what a
// screen reader makes of the window. The keys are real input events (XTEST,
// through xdotool); the close box is the message a window manager sends.
#include "tests/automation/MurmeloServerTest.h"

#include "tests/support/PrivateDisplay.h"

#include <QThread>

#include <filesystem>
#include <fstream>
#include <vector>

namespace {

using namespace std::chrono_literals;

// Long enough for any window change the program makes in answer to one event.
constexpr auto kWindowChange = 5s;

// The display is started before the bus that the program inherits it from.
struct DisplayHolder {
    PrivateDisplay m_display;
};

class HiddenDialog : protected DisplayHolder, public MurmeloServerTest {
  protected:
    HiddenDialog() : MurmeloServerTest("xcb", m_display.server.Display()) {}

    void SetUp() override {
        if (!m_display.server.IsRunning())
            GTEST_SKIP() << "no X server: " << m_display.server.Problem();
        MurmeloServerTest::SetUp();
        ASSERT_TRUE(m_display.windows.IsConnected());
        InstallActivationFile();
    }

    // The program's top-level window with this title, once it is on the screen.
    xcb_window_t Shown(uint pid, const char* title) {
        xcb_window_t window = XCB_WINDOW_NONE;
        EXPECT_TRUE(Eventually([&] { return (window = m_display.windows.Find(pid, title)) != 0; },
                               kWindowChange))
            << "no window \"" << title << "\" on the screen";
        EXPECT_TRUE(BecomesViewable(window, true));
        return window;
    }

    bool BecomesViewable(xcb_window_t window, bool viewable) {
        return Eventually([&] { return m_display.windows.IsViewable(window) == viewable; },
                          kWindowChange);
    }

    // Gives the window the keyboard focus and types the keys, one every 300 ms, as a person
    // waits for each to show its effect.
    void Type(xcb_window_t window, const std::vector<std::string>& keys) {
        ASSERT_TRUE(m_display.keys.Focus(window));
        for (const std::string& key : keys) {
            ASSERT_TRUE(m_display.keys.Press({key}));
            QThread::msleep(300);
        }
    }
};

// Closing the dialog only hides it while a client holds the program (the in-process tests
// go through every way of closing, this one through a window manager's close box), and a
// box the user left open must not keep the program alive once the client has let go.
TEST_F(HiddenDialog, ClosingOnlyHidesTheDialogAndOpenBoxesGoWithItOnTheRelease) {
    const struct {
        std::vector<std::string> keys; // none: the close box
        const char* title;             // of the box the keys open
    } rows[] = {
        {{}, "close box"},
        // Shift+Tab from Read wraps round to Help.
        {{"shift+Tab", "space"}, "Info"},
        {{"alt+space", "a"}, "关于 Murmelo"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.title);
        BusClient client = Client("client");
        QString path;
        const QString server = CreateObject(client, &path);
        const uint pid = client.ProcessOf(server);
        const xcb_window_t dialog = Shown(pid, "Parlino");
        if (row.keys.empty()) {
            m_display.windows.RequestClose(dialog);
            EXPECT_TRUE(BecomesViewable(dialog, false)) << "the dialog is still shown";
            QThread::msleep(300);
            EXPECT_FALSE(ProcessEnded(static_cast<pid_t>(pid))) << "closing ended the program";
        } else {
            ASSERT_NO_FATAL_FAILURE(Type(dialog, row.keys));
            ASSERT_NE(Shown(pid, row.title), XCB_WINDOW_NONE);
        }
        EXPECT_EQ(client.Release(server, path).type(), QDBusMessage::ReplyMessage);
        EXPECT_TRUE(EndsWithinASecond(server, pid));
    }
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
    OwnedProcess accessibilityBus(environment);
    if (!accessibilityBus.Launch("/usr/libexec/at-spi-bus-launcher", {"--launch-immediately"}))
        GTEST_SKIP() << "at-spi2-core is not installed";
    BusClient client = Client("screen reader");
    ASSERT_TRUE(Eventually([&] { return client.NameHasOwner("org.a11y.Bus"); }, kWindowChange));
    environment.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    // The text box is the source, so that Tab reaches it.
    std::ofstream("set.ini") << "[Setting]\nInputFileChk=0\n";
    OwnedProcess program(MURMELO_PROGRAM, {}, environment);
    const xcb_window_t dialog = Shown(static_cast<uint>(program.processId()), "Parlino");
    // What the screen reader shows, one "role|name" line per object on the screen, the
    // focused one marked with a star.
    const auto shown = [&] {
        return OwnedProcess::Run(ACCESSIBLE_WINDOW, {QString::number(program.processId())},
                                 environment)
            .value_or(QString())
            .split('\n', Qt::SkipEmptyParts);
    };
    QStringList lines;
    ASSERT_TRUE(Eventually([&] { return (lines = shown()).size() > 1; }, kWindowChange))
        << "the window is not on the accessibility bus";
    for (const char* line :
         {"text|Input Text", "text|Rate", "text|Volume", "text|Loop", "combo box|Voice",
          "push button|Rate up", "push button|Rate down", "push button|Volume up",
          "push button|Volume down", "push button|Browse for the input file"})
        EXPECT_TRUE(lines.contains(QString::fromUtf8(line))) << line;
    EXPECT_FALSE(lines.contains("push button|Speak English")) << "a hidden control is in reach";

    for (const char* focused : {"push button|Read*", "push button|Exit*", "text|Input Text*",
                                "push button|Stop*", "push button|Rate up*"}) {
        EXPECT_TRUE(Eventually([&] { return shown().contains(focused); }, kWindowChange))
            << focused;
        Type(dialog, {"Tab"});
    }
}

} // namespace
