#include "platform/ole/DBusActivationFile.h"
#include "platform/ole/COleAutomationTarget.h"
#include "platform/ole/COleObjectFactory.h"
#include "tests/support/FileBytes.h"
#include "tests/support/ScopedEnvironmentVariable.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

namespace fs = std::filesystem;

namespace {

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

// An installed program is started through the launcher beside it, where one can be run.
TEST(DBusActivationFileTest, AnInstalledProgramIsStartedThroughItsLauncher) {
    const fs::path here = fs::current_path();
    for (const auto& [file, permissions] : {std::pair{"usr/bin/murmelo", fs::perms::owner_all},
                                            {"plain/bin/murmelo", fs::perms::owner_read}}) {
        fs::create_directories((here / file).parent_path());
        WriteFile(here / file, "#!/bin/sh\n");
        fs::permissions(here / file, permissions);
    }
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
    const std::string fallback = "/home/someone/.local/share/" + file;
    const std::pair<std::optional<std::string>, std::string> rows[] = {
        {"/data", "/data/" + file}, {std::nullopt, fallback}, {"", fallback}, {"data", fallback}};
    for (const auto& [dataHome, expected] : rows) {
        const ScopedEnvironmentVariable variable("XDG_DATA_HOME", dataHome);
        EXPECT_EQ(DBusActivationFile::PathFor("Murmelo.Application"), fs::path(expected))
            << dataHome.value_or("(unset)");
    }
}

// Each live factory's file is written whole, replacing an earlier one, and no temporary file
// is left behind. Writing the files creates no object, so any class will do.
TEST(COleObjectFactoryTest, UpdateRegistryAllReplacesEveryLiveFactorysFile) {
    constexpr CLSID kClass{0x6A0F3C12, 0x52D4, 0x4E0B, {}};
    const CRuntimeClass* const target = RUNTIME_CLASS(COleAutomationTarget);
    const fs::path services = fs::path(std::getenv("XDG_DATA_HOME")) / "dbus-1" / "services";
    const std::string exec = fs::read_symlink("/proc/self/exe").native() + " -Automation";
    COleObjectFactory first(kClass, target, TRUE, "Murmelo.First");
    fs::create_directories(services);
    WriteFile(services / "Murmelo.First.service", "[D-BUS Service]\nName=Old\n");
    { COleObjectFactory gone(kClass, target, TRUE, "Murmelo.Gone"); }
    EXPECT_TRUE(COleObjectFactory::UpdateRegistryAll());
    EXPECT_EQ(ReadFile(services / "Murmelo.First.service"),
              "[D-BUS Service]\nName=Murmelo.First\nExec=" + exec + "\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(services), {}), 1);
}

} // namespace
