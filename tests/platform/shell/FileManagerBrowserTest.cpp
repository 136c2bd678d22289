#include "platform/shell/FileManagerBrowser.h"

#include "tests/platform/process/ScratchDirectoryTest.h"
#include "tests/platform/shell/FakeFileManager.h"
#include "tests/platform/shell/PrivateSessionBus.h"

#include <QCoreApplication>
#include <chrono>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <thread>

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs the event loop (the fake file manager answers through it) until condition holds or
// the time is up.
template <typename Condition>
bool Within(std::chrono::milliseconds limit, Condition condition) {
    for (auto deadline = std::chrono::steady_clock::now() + limit;
         std::chrono::steady_clock::now() < deadline; std::this_thread::sleep_for(5ms)) {
        QCoreApplication::processEvents();
        if (condition()) {
            return true;
        }
    }
    return condition();
}

void WriteScript(const fs::path& path, const std::string& body) {
    std::ofstream(path) << "#!/bin/sh\n" << body;
    chmod(path.c_str(), 0755);
}

// PATH holds only a fake xdg-open, which writes its arguments, one a line, to a file. It
// renames the file into place, so the test never reads it half-written.
class FileManagerBrowserTest : public ScratchDirectoryTest {
  protected:
    void SetUp() override {
        ScratchDirectoryTest::SetUp();
        if (!PrivateSessionBus::running()) {
            GTEST_SKIP() << "no private session bus (dbus-daemon)";
        }
        fs::create_directory("bin");
        m_record = scratch() / "xdg-open.args";
        WriteScript(scratch() / "bin" / "xdg-open",
                    "printf '%s\\n' \"$@\" > '" + m_record.string() + ".part' && /bin/mv '" +
                        m_record.string() + ".part' '" + m_record.string() + "'\n");
        m_oldPath = std::getenv("PATH");
        setenv("PATH", (scratch() / "bin").c_str(), 1);
    }
    void TearDown() override {
        setenv("PATH", m_oldPath.c_str(), 1);
        ScratchDirectoryTest::TearDown();
    }

    bool XdgOpenCalled(std::chrono::milliseconds limit) {
        return Within(limit, [&] { return fs::exists(m_record); });
    }

    fs::path m_record;
    std::string m_oldPath;
    FileManagerBrowser m_browser;
};

TEST_F(FileManagerBrowserTest, RunningFileManagerShowsTheFileSelected) {
    FakeFileManager fileManager;
    ASSERT_TRUE(fileManager.registered());
    fs::create_directory("my dir");

    m_browser.ShowFileInFileManager("my dir/say \"hi\" #1.wav");

    ASSERT_TRUE(Within(5s, [&] { return !fileManager.calls().empty(); }));
    ASSERT_EQ(fileManager.calls().size(), 1u);
    const FakeFileManager::Call& call = fileManager.calls().front();
    EXPECT_EQ(call.signature.toStdString(), "ass");
    EXPECT_EQ(call.uris.join('\n').toStdString(),
              "file://" + scratch().string() + "/my%20dir/say%20%22hi%22%20%231.wav");
    EXPECT_EQ(call.startupId.toStdString(), "");
    EXPECT_FALSE(XdgOpenCalled(300ms));
}

TEST_F(FileManagerBrowserTest, WithoutFileManagerOpensTheFolder) {
    const struct {
        std::string path;
        fs::path folder;
    } cases[] = {{"out.wav", scratch()},
                 {"my dir/say \"hi\".wav", scratch() / "my dir"},
                 {"sub/../a\nb.wav", scratch()},
                 {(scratch() / "abs.wav").string(), scratch()},
                 {"/top.wav", "/"}};
    for (const auto& c : cases) {
        fs::remove(m_record);
        m_browser.ShowFileInFileManager(c.path);
        ASSERT_TRUE(XdgOpenCalled(5s)) << c.path;
        EXPECT_EQ(ReadFile(m_record), c.folder.string() + "\n") << c.path;
    }
}

// A file manager that the bus starts on demand gets the call too; starting it is the bus's
// business, so the folder is not opened as well. The program the bus starts only leaves a
// mark; the test then takes the name in its place, and the bus hands over the waiting call.
TEST_F(FileManagerBrowserTest, StartableFileManagerIsAskedNotTheFolder) {
    fs::path marker = scratch() / "started";
    WriteScript(scratch() / "file-manager", "touch '" + marker.string() + "'\n");
    fs::path service = PrivateSessionBus::servicesFolder() / "org.freedesktop.FileManager1.service";
    std::ofstream(service) << "[D-BUS Service]\nName=org.freedesktop.FileManager1\nExec="
                           << (scratch() / "file-manager").string() << "\n";
    PrivateSessionBus::ReloadServices();

    m_browser.ShowFileInFileManager("out.wav");

    EXPECT_TRUE(Within(5s, [&] { return fs::exists(marker); }));
    FakeFileManager started;
    EXPECT_TRUE(Within(5s, [&] { return !started.calls().empty(); }));
    if (!started.calls().empty()) {
        EXPECT_EQ(started.calls().front().uris.join('\n').toStdString(),
                  "file://" + scratch().string() + "/out.wav");
    }
    EXPECT_FALSE(XdgOpenCalled(300ms));
    fs::remove(service);
    PrivateSessionBus::ReloadServices();
}

} // namespace
