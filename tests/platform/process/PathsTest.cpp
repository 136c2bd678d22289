#include "platform/process/Paths.h"

#include "tests/support/FileBytes.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

// The file dialogs start in the program's folder.
TEST(Paths, ModuleFileNameIsThisTestProgram) {
    const fs::path name = GetModuleFileNameA();
    EXPECT_EQ(name.filename(), "platform_process_tests");
    EXPECT_TRUE(name.is_absolute());
    EXPECT_TRUE(FileExists(name));
}

TEST(Paths, FileExistsOnlyForRegularFiles) {
    WriteFile("out.wav", "RIFF");
    fs::create_directory("folder.wav");
    fs::create_symlink("out.wav", "link.wav");
    fs::create_symlink("missing.wav", "dangling.wav");
    const struct {
        const char* path;
        bool exists;
    } rows[] = {{"out.wav", true},     {"link.wav", true},      {"missing.wav", false},
                {"folder.wav", false}, {"dangling.wav", false}, {"", false},
                {"out.wav/x", false}};
    for (const auto& row : rows) {
        EXPECT_EQ(FileExists(row.path), row.exists) << row.path;
    }
}

} // namespace
