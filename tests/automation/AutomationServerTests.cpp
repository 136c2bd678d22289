// The real program as an automation server, each test on a session bus of its own: how it
// is started, what a client gets, what it refuses, and that it ends when its client lets go.
// On an X11 display of its own, the dialog of a program that a client started: visible after
// the creation, only hidden by Exit, Escape and the close box, and gone with the process, and
// with any box left open on it, when the client lets go; also what a screen reader makes of
// the window. The keys are real input events (XTEST, through xdotool); the close box is the
// message a window manager sends.
#include "automation/CMurmeloDlgAutoProxy.h"
#include "platform/ole/GuidString.h"

#include "tests/support/BusClient.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/Eventually.h"
#include "tests/support/FileBytes.h"
#include "tests/support/PrivateDisplay.h"
#include "tests/support/PrivateSessionBus.h"

#include <QThread>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <list>
#include <memory>
#include <string>

namespace {

using namespace std::chrono_literals;

const QString kProgId = QStringLiteral("Murmelo.Application");
const QString kIidDispatch = QStringLiteral("{00020400-0000-0000-C000-000000000046}");
const QString kIidUnknown = QStringLiteral("{00000000-0000-0000-C000-000000000046}");
const QString kIidMurmelo = QString::fromStdString(StringFromGUID(IID_IMurmelo));

// The real murmelo as an automation server, without a sound device, its window on the given
// Qt platform (and X11 display), on a session bus of the test's own that activates programs
// from the test's own $XDG_DATA_HOME/dbus-1/services. The program says nothing when it is
// ready, so the tests poll for what it does.
class MurmeloServerTest : public testing::Test {
  protected:
    explicit MurmeloServerTest(const char* platform = "offscreen", const std::string& display = {})
        : m_bus(std::filesystem::path(std::getenv("XDG_DATA_HOME")) / "dbus-1" / "services",
                Variables(platform, display)) {}

    void SetUp() override { ASSERT_TRUE(m_bus.IsRunning()) << "dbus-daemon did not start"; }

    // The activation file a user start writes.
    std::filesystem::path ActivationFile() const {
        return m_bus.ServiceFolder() / (kProgId.toStdString() + ".service");
    }
    // The program started directly by the test, on the test's bus.
    std::unique_ptr<OwnedProcess> Start(const QStringList& arguments) {
        return std::make_unique<OwnedProcess>(MURMELO_PROGRAM, arguments, m_bus.Environment());
    }
    // A user start, once it has written its activation file; null when it never did. A start
    // takes a fraction of the limit; it only stops a hung test.
    std::unique_ptr<OwnedProcess> StartByUser() {
        auto process = Start({});
        const auto written = [&] { return std::filesystem::exists(ActivationFile()); };
        Eventually([&] { return written() || process->state() == QProcess::NotRunning; }, 10s);
        return written() ? std::move(process) : nullptr;
    }
    // What a user start leaves behind: the activation file the bus starts the program from.
    void InstallActivationFile() {
        ASSERT_NE(StartByUser(), nullptr) << "a user start wrote no activation file";
    }

    // Creates the object through activation; returns the server's unique name and, in
    // *pPath, the object's path.
    QString CreateObject(BusClient& client, QString* pPath = nullptr,
                         const QString& iid = kIidMurmelo) {
        const QDBusMessage reply = client.CreateInstance(kProgId, iid);
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
        if (pPath)
            *pPath = ObjectPathOf(reply);
        return reply.service();
    }
    // Whether the server with the unique name `server` and process id `pid` ends within
    // a second.
    bool EndsWithinASecond(const QString& server, uint pid) {
        BusClient observer(m_bus.Address(), QStringLiteral("observer"));
        return Eventually(
            [&] { return !observer.NameHasOwner(server) && ProcessEnded(static_cast<pid_t>(pid)); },
            1s);
    }

    BusClient Client(const QString& name) { return BusClient(m_bus.Address(), name); }

    PrivateSessionBus m_bus;

  private:
    static QProcessEnvironment Variables(const char* platform, const std::string& display) {
        QProcessEnvironment variables;
        variables.insert(QStringLiteral("QT_QPA_PLATFORM"), QString::fromLatin1(platform));
        variables.insert(QStringLiteral("MURMELO_AUDIO"), QStringLiteral("null"));
        variables.insert(QStringLiteral("DISPLAY"), QString::fromStdString(display));
        return variables;
    }
};

using AutomationServer = MurmeloServerTest;

TEST_F(AutomationServer, UserStartWritesTheActivationFileAndAutomationStartOwnsTheName) {
    BusClient client = Client("client");
    {
        const std::unique_ptr<OwnedProcess> userStart = StartByUser();
        ASSERT_NE(userStart, nullptr);
        EXPECT_EQ(ReadFile(ActivationFile()), "[D-BUS Service]\nName=Murmelo.Application\nExec=" +
                                                  std::string(MURMELO_PROGRAM) + " -Automation\n");
        EXPECT_FALSE(client.NameHasOwner(kProgId));
        // Still running: it owns nothing because it never registered, not because it ended.
        EXPECT_FALSE(ProcessEnded(static_cast<pid_t>(userStart->processId())));
    }
    WriteFile(ActivationFile(), "left by an earlier start\n");
    const auto server = Start({"-Automation"});
    EXPECT_TRUE(Eventually([&] { return client.NameHasOwner(kProgId); }, 10s));
    EXPECT_EQ(client.ProcessOf(kProgId), static_cast<uint>(server->processId()));
    EXPECT_EQ(ReadFile(ActivationFile()), "left by an earlier start\n");
}

// Each creation launches a program of its own (single use: the next request starts a new
// process), whichever id it asks for. Each release ends its own process and no other.
TEST_F(AutomationServer, EachCreationLaunchesAProgramThatItsReleaseEnds) {
    InstallActivationFile();
    struct Created {
        Created(const QString& bus, const QString& name) : client(bus, name) {}
        BusClient client;
        QString server{}, path{};
        uint pid = 0;
    };
    std::list<Created> created;
    for (const QString& iid : {kIidMurmelo, kIidDispatch, kIidUnknown}) {
        SCOPED_TRACE(iid.toStdString());
        Created& next = created.emplace_back(m_bus.Address(), iid);
        next.server = CreateObject(next.client, &next.path, iid);
        next.pid = next.client.ProcessOf(next.server);
        ASSERT_NE(next.pid, 0u);
        EXPECT_FALSE(next.client.NameHasOwner(kProgId));
    }
    for (Created& each : created) {
        EXPECT_EQ(each.client.Release(each.server, each.path).type(), QDBusMessage::ReplyMessage);
        EXPECT_TRUE(EndsWithinASecond(each.server, each.pid));
        if (&each != &created.back()) {
            EXPECT_FALSE(ProcessEnded(static_cast<pid_t>(created.back().pid)));
        }
    }
}

// A client that dies while it holds the object lets go of it as well.
TEST_F(AutomationServer, AKilledClientEndsTheProgram) {
    InstallActivationFile();
    OwnedProcess holder(HOLDING_CLIENT, {kIidMurmelo}, m_bus.Environment());
    ASSERT_TRUE(holder.waitForReadyRead(20000)) << "the client got no object";
    const QString server = QString::fromUtf8(holder.readLine()).trimmed();
    const uint pid = Client("observer").ProcessOf(server);
    ASSERT_NE(pid, 0u);

    kill(static_cast<pid_t>(holder.processId()), SIGKILL);

    EXPECT_TRUE(EndsWithinASecond(server, pid));
}

TEST_F(AutomationServer, RefusalsLeaveTheProgramAsItWas) {
    InstallActivationFile();
    BusClient owner = Client("owner");
    BusClient other = Client("other");

    // An unknown interface id creates nothing: the same process serves the next request.
    const QDBusMessage refused =
        owner.CreateInstance(kProgId, QStringLiteral("{3E8A51C6-0B2D-4F6A-9C41-7D52E018A63B}"));
    EXPECT_EQ(refused.errorName(), QStringLiteral("Murmelo.Error.NoInterface"));
    QString path;
    const QString server = CreateObject(owner, &path);
    EXPECT_EQ(server, refused.service());
    const uint pid = owner.ProcessOf(server);
    ASSERT_NE(pid, 0u);

    // A second creation, by the owner or another client, and a release by another client.
    const QString factory = "Murmelo.ClassFactory", created = "Murmelo.Error.AlreadyCreated";
    const struct {
        BusClient& client;
        QString path, interface, member;
        QVariantList arguments;
        QString error;
    } rows[] = {{other, "/", factory, "CreateInstance", {kIidMurmelo}, created},
                {owner, "/", factory, "CreateInstance", {kIidDispatch}, created},
                {other, path, "Murmelo.IUnknown", "Release", {}, "Murmelo.Error.NotOwner"}};
    for (const auto& row : rows) {
        const QDBusMessage reply =
            row.client.Call(server, row.path, row.interface, row.member, row.arguments);
        EXPECT_EQ(reply.errorName(), row.error) << row.member.toStdString();
        EXPECT_FALSE(ProcessEnded(static_cast<pid_t>(pid)));
    }

    // None of them touched the object: its owner still holds it, and lets go.
    EXPECT_EQ(owner.Release(server, path).type(), QDBusMessage::ReplyMessage);
    EXPECT_TRUE(EndsWithinASecond(server, pid));
}

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

    // The window with this title, once it is on the screen.
    xcb_window_t Shown(const char* title) {
        std::vector<xcb_window_t> shown;
        EXPECT_TRUE(Eventually([&] { return !(shown = m_display.windows.Shown(title)).empty(); },
                               kWindowChange))
            << "no window \"" << title << "\" on the screen";
        return shown.empty() ? xcb_window_t(XCB_WINDOW_NONE) : shown.front();
    }

    bool BecomesViewable(xcb_window_t window, bool viewable) {
        return Eventually([&] { return m_display.windows.IsViewable(window) == viewable; },
                          kWindowChange);
    }
};

// Closing the dialog only hides it while a client holds the program (the in-process tests
// go through every way of closing, this one through a window manager's close box), and a
// box the user left open must not keep the program alive once the client has let go.
TEST_F(HiddenDialog, ClosingOnlyHidesTheDialogAndOpenBoxesGoWithItOnTheRelease) {
    const struct {
        std::vector<std::string> keys; // none: the close box
        const char* title;             // of the box the keys open
    } rows[] = {{{}, "close box"},
                // Shift+Tab from Read wraps round to Help.
                {{"shift+Tab", "space"}, "Info"},
                {{"alt+space", "a"}, "关于 Murmelo"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.title);
        BusClient client = Client("client");
        QString path;
        const QString server = CreateObject(client, &path);
        const uint pid = client.ProcessOf(server);
        const xcb_window_t dialog = Shown("Parlino");
        if (row.keys.empty()) {
            m_display.windows.RequestClose(dialog);
            EXPECT_TRUE(BecomesViewable(dialog, false)) << "the dialog is still shown";
            QThread::msleep(300);
            EXPECT_FALSE(ProcessEnded(static_cast<pid_t>(pid))) << "closing ended the program";
        } else {
            // The keys go to the dialog, as after a click on it.
            ASSERT_TRUE(m_display.keys.Focus(dialog) && m_display.keys.PressOneByOne(row.keys));
            ASSERT_NE(Shown(row.title), XCB_WINDOW_NONE);
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
    const xcb_window_t dialog = Shown("Parlino");
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
    for (const char* line : {"text|Input Text", "text|Input File", "text|Rate", "text|Volume",
                             "text|Loop", "combo box|Voice", "push button|Rate up",
                             "push button|Rate down", "push button|Volume up",
                             "push button|Volume down", "push button|Browse for the input file"})
        EXPECT_TRUE(lines.contains(QString::fromUtf8(line))) << line;
    EXPECT_FALSE(lines.contains("push button|Speak English")) << "a hidden control is in reach";

    for (const char* focused : {"push button|Read*", "push button|Exit*", "text|Input Text*",
                                "push button|Stop*", "push button|Rate up*"}) {
        EXPECT_TRUE(Eventually([&] { return shown().contains(focused); }, kWindowChange))
            << focused;
        EXPECT_TRUE(m_display.keys.Focus(dialog) && m_display.keys.PressOneByOne({"Tab"}));
    }
}

} // namespace
