#include "platform/shell/FileManagerBrowser.h"

#include "tests/support/Eventually.h"
#include "tests/support/FileBytes.h"
#include "tests/support/PrivateSessionBus.h"
#include "tests/support/QtApplicationEnvironment.h"
#include "tests/support/ScopedEnvironmentVariable.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>

#include <csignal>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// The file manager's session bus is a private one from before the first test asks for it;
// its service folder is empty, so no file manager of the machine can be started.
std::unique_ptr<PrivateSessionBus> bus;

class SessionBusEnvironment : public QtApplicationEnvironment {
    void SetUp() override {
        QtApplicationEnvironment::SetUp();
        bus = std::make_unique<PrivateSessionBus>();
        setenv("DBUS_SESSION_BUS_ADDRESS", bus->Address().toUtf8().constData(), 1);
    }
    void TearDown() override {
        bus.reset();
        QtApplicationEnvironment::TearDown();
    }
};

[[maybe_unused]] testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new SessionBusEnvironment);

// Runs the event loop (the fake file manager answers through it) until condition holds.
template <typename Condition>
bool Within(std::chrono::milliseconds limit, Condition condition) {
    return Eventually([&] { return QCoreApplication::processEvents(), condition(); }, limit);
}

// A file manager on the session bus, with a connection of its own so that the bus sees a
// peer other than the code under test. It owns the name while it lives and answers every
// call; FirstCall waits for the first and gives its method, signature, URIs and startup id.
class FakeFileManager : public QDBusVirtualObject {
  public:
    FakeFileManager() {
        EXPECT_TRUE(m_connection.registerVirtualObject(kObject, this) &&
                    m_connection.registerService(kService));
    }
    ~FakeFileManager() override {
        m_connection.unregisterService(kService);
        m_connection.unregisterObject(kObject);
        QDBusConnection::disconnectFromBus(m_connection.name());
    }
    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        calls.push_back(message);
        return connection.send(message.createReply());
    }
    std::string FirstCall() const {
        if (!Within(5s, [&] { return !calls.empty(); }))
            return "no call";
        const QDBusMessage& call = calls.front();
        return (call.interface() + "." + call.member() + " " + call.signature() + " " +
                call.arguments().value(0).toStringList().join(' ') + " [" +
                call.arguments().value(1).toString() + "]")
            .toStdString();
    }

    std::vector<QDBusMessage> calls;

  private:
    const QString kService = QStringLiteral("org.freedesktop.FileManager1");
    const QString kObject = QStringLiteral("/org/freedesktop/FileManager1");
    QDBusConnection m_connection =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, "fake-file-manager");
};

// PATH holds only a fake xdg-open, which writes its arguments, one a line, to a file. It
// renames the file into place, so the test never reads it half-written.
class FileManagerBrowserTest : public testing::Test {
  protected:
    void SetUp() override {
        if (!bus->IsRunning())
            GTEST_SKIP() << "no private session bus (dbus-daemon)";
        fs::create_directory("bin");
        const std::string record = m_record.string();
        WriteFile("bin/xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$@\" > '" + record +
                                      ".part' && /bin/mv '" + record + ".part' '" + record + "'\n");
        chmod("bin/xdg-open", 0755);
    }
    bool XdgOpenCalled(std::chrono::milliseconds limit) {
        return Within(limit, [&] { return fs::exists(m_record); });
    }
    std::string ShowItems(const std::string& uri) const {
        return "org.freedesktop.FileManager1.ShowItems ass file://" + m_folder.string() + uri +
               " []";
    }

    const fs::path m_folder = fs::current_path();
    const fs::path m_record = m_folder / "xdg-open.args";
    ScopedEnvironmentVariable m_path{"PATH", (m_folder / "bin").string()};
    FileManagerBrowser m_browser;
};

// Everything but unreserved characters and slashes is percent-encoded, byte by byte.
TEST_F(FileManagerBrowserTest, RunningFileManagerShowsTheFileSelected) {
    FakeFileManager fileManager;
    fs::create_directory("my dir");
    m_browser.ShowFileInFileManager("my dir/say \"hi\" #1?%&;+=:@'\\-_.~ 进.wav");
    EXPECT_EQ(fileManager.FirstCall(),
              ShowItems("/my%20dir/say%20%22hi%22%20%231%3F%25%26%3B%2B%3D%3A%40%27%5C-_.~%20%E8%"
                        "BF%9B.wav"));
    EXPECT_FALSE(XdgOpenCalled(300ms));
    EXPECT_EQ(fileManager.calls.size(), 1u);
}

TEST_F(FileManagerBrowserTest, WithoutFileManagerOpensTheFolder) {
    const std::pair<std::string, fs::path> cases[] = {
        {"out.wav", m_folder},
        {"my dir/say \"hi\".wav", m_folder / "my dir"},
        {"sub/../a\nb.wav", m_folder},
        {(m_folder / "abs.wav").string(), m_folder},
        {"/top.wav", "/"}};
    for (const auto& [path, folder] : cases) {
        fs::remove(m_record);
        m_browser.ShowFileInFileManager(path);
        ASSERT_TRUE(XdgOpenCalled(5s)) << path;
        EXPECT_EQ(ReadFile(m_record), folder.string() + "\n") << path;
    }
}

// A bus that stops answering must not hold the dialog for the bus's own time-outs of 25 s
// a call: the folder is opened instead, after about a second.
TEST_F(FileManagerBrowserTest, UnansweringBusFallsBackToTheFolderSoon) {
    ASSERT_TRUE(QDBusConnection::sessionBus().isConnected());
    ASSERT_EQ(kill(static_cast<pid_t>(bus->ProcessId()), SIGSTOP), 0);
    const auto start = std::chrono::steady_clock::now();
    m_browser.ShowFileInFileManager("out.wav");
    const auto held = std::chrono::steady_clock::now() - start;
    kill(static_cast<pid_t>(bus->ProcessId()), SIGCONT);
    EXPECT_LT(held, 5s);
    EXPECT_TRUE(XdgOpenCalled(5s));
}

} // namespace
