#include "platform/process/Paths.h"

#include "tests/support/FileBytes.h"

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

// The file dialogs start in the program's folder; the converter's output counts only as a
// regular file, also through a link.
TEST(Paths, ModuleFileNameIsThisProgramAndOnlyRegularFilesExist) {
    const fs::path name = GetModuleFileNameA();
    EXPECT_EQ(name.filename(), "platform_process_tests");
    EXPECT_TRUE(name.is_absolute());
    EXPECT_TRUE(FileExists(name));
    WriteFile("out.wav", "RIFF");
    fs::create_directory("folder.wav");
    fs::create_symlink("out.wav", "link.wav");
    fs::create_symlink("missing.wav", "dangling.wav");
    for (const char* path : {"out.wav", "link.wav"})
        EXPECT_TRUE(FileExists(path)) << path;
    for (const char* path : {"missing.wav", "folder.wav", "dangling.wav", "", "out.wav/x"})
        EXPECT_FALSE(FileExists(path)) << path;
}

} // namespace
