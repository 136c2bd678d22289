#include "platform/ole/DBusActivationFile.h"
#include "platform/ole/COleAutomationTarget.h"
#include "platform/ole/COleObjectFactory.h"
#include "tests/support/FileBytes.h"
#include "tests/support/ScopedEnvironmentVariable.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

namespace fs = std::filesystem;

namespace {

// Writing the activation files creates no object, so any class will do.
constexpr CLSID kClass{
    0x6A0F3C12, 0x52D4, 0x4E0B, {0x9B, 0x1E, 0x3C, 0x7D, 0x21, 0x84, 0x5A, 0x60}};
const CRuntimeClass* const kRuntimeClass = RUNTIME_CLASS(COleAutomationTarget);

TEST(DBusActivationFileTest, ExecLineQuotesWhatTheBusWouldSplit) {
    const std::pair<const char*, std::optional<std::string>> rows[] = {
        {"/usr/lib/murmelo/murmelo", "/usr/lib/murmelo/murmelo -Automation"},
        {"/opt/x86_64-linux/murmelo+1.0,a:b@c=d",
         "/opt/x86_64-linux/murmelo+1.0,a:b@c=d -Automation"},
        {"/home/user/My Programs/murmelo", "'/home/user/My Programs/murmelo' -Automation"},
        {"/home/o'neil/murmelo", "'/home/o'\\\\''neil/murmelo' -Automation"},
        {"/tmp/a\\b\"c$d;e#f", "'/tmp/a\\\\b\"c$d;e#f' -Automation"},
        {"/tmp/two\nlines", std::nullopt},
    };
    for (const auto& [program, expected] : rows)
        EXPECT_EQ(DBusActivationFile::ExecLine(program), expected) << program;
}

TEST(DBusActivationFileTest, AnInstalledProgramIsStartedThroughItsLauncher) {
    const fs::path here = fs::current_path();
    const auto place = [](const fs::path& file, fs::perms permissions) {
        fs::create_directories(file.parent_path());
        std::ofstream(file) << "#!/bin/sh\n";
        fs::permissions(file, permissions);
    };
    place(here / "usr/bin/murmelo", fs::perms::owner_all);
    place(here / "plain/bin/murmelo", fs::perms::owner_read | fs::perms::owner_write);
    const std::pair<const char*, const char*> rows[] = {
        {"usr/libexec/murmelo/murmelo", "usr/bin/murmelo"},
        // No launcher that could be run beside it: a copy of the folder, or a broken install.
        {"other/libexec/murmelo/murmelo", "other/libexec/murmelo/murmelo"},
        {"plain/libexec/murmelo/murmelo", "plain/libexec/murmelo/murmelo"},
        // The build tree, whose bin/ holds the program itself.
        {"usr/bin/murmelo", "usr/bin/murmelo"},
    };
    for (const auto& [program, expected] : rows)
        EXPECT_EQ(DBusActivationFile::ProgramToStart(here / program), here / expected) << program;
}

// Unset, empty or relative, XDG_DATA_HOME gives way to the default.
TEST(DBusActivationFileTest, FileLivesInTheDataHome) {
    const ScopedEnvironmentVariable home("HOME", "/home/someone");
    const std::string file = "dbus-1/services/Murmelo.Application.service";
    const std::pair<std::optional<std::string>, std::string> rows[] = {
        {"/data", "/data/" + file},
        {std::nullopt, "/home/someone/.local/share/" + file},
        {"", "/home/someone/.local/share/" + file},
        {"data", "/home/someone/.local/share/" + file}};
    for (const auto& [dataHome, expected] : rows) {
        const ScopedEnvironmentVariable variable("XDG_DATA_HOME", dataHome);
        EXPECT_EQ(DBusActivationFile::PathFor("Murmelo.Application"), fs::path(expected))
            << dataHome.value_or("(unset)");
    }
}

// Each live factory's file is written whole, replacing an earlier one; a file that cannot
// be replaced fails the whole call and leaves no temporary file behind.
TEST(COleObjectFactoryTest, UpdateRegistryAllReplacesEveryLiveFactorysFileOrFails) {
    const fs::path services = fs::path(std::getenv("XDG_DATA_HOME")) / "dbus-1" / "services";
    const std::string exec = fs::read_symlink("/proc/self/exe").native() + " -Automation";
    COleObjectFactory first(kClass, kRuntimeClass, TRUE, "Murmelo.First");
    fs::create_directories(services);
    WriteFile(services / "Murmelo.First.service", "[D-BUS Service]\nName=Old\n");
    { COleObjectFactory gone(kClass, kRuntimeClass, TRUE, "Murmelo.Gone"); }
    EXPECT_TRUE(COleObjectFactory::UpdateRegistryAll());
    EXPECT_EQ(ReadFile(services / "Murmelo.First.service"),
              "[D-BUS Service]\nName=Murmelo.First\nExec=" + exec + "\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(services), fs::directory_iterator()), 1);

    // A folder where the file should go makes the rename fail even for root.
    COleObjectFactory blocked(kClass, kRuntimeClass, TRUE, "Murmelo.Blocked");
    fs::create_directories(services / "Murmelo.Blocked.service");
    EXPECT_FALSE(COleObjectFactory::UpdateRegistryAll());
    EXPECT_TRUE(fs::is_directory(services / "Murmelo.Blocked.service"));
    EXPECT_EQ(std::distance(fs::directory_iterator(services), fs::directory_iterator()), 2)
        << "the temporary file was left behind";
}

} // namespace
