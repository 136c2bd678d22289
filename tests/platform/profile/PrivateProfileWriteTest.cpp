#include "tests/support/CaseName.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FileBytes.h"

#include "platform/profile/PrivateProfile.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr const char* kFile = "./set.ini";

struct WriteCase {
    const char* name;
    friend void PrintTo(const WriteCase& c, std::ostream* out) { *out << c.name; }
    std::string before;
    const char* key;
    const char* value;
    std::string after;
};

const std::vector<WriteCase> kWriteCases = {
    {"ReplacesValueInPlace", "[Setting]\r\nRate=1\r\nLoop=2\r\n", "Rate", "7",
     "[Setting]\r\nRate=7\r\nLoop=2\r\n"},
    {"ReplacesWhateverTheCase", "[setting]\r\nrate=1\r\n", "Rate", "-7",
     "[setting]\r\nrate=-7\r\n"},
    {"KeepsSpacingAndLineFeeds", "; mine\n[Setting]\n  Rate = 1  \nLoop=2\n", "Rate", "12",
     "; mine\n[Setting]\n  Rate = 12  \nLoop=2\n"},
    {"ReplacesEmptyValue", "[Setting]\r\nRate=\r\n", "Rate", "3", "[Setting]\r\nRate=3\r\n"},
    {"ReplacesOnlyTheFirstKey", "[Setting]\r\nRate=1\r\nRate=2\r\n", "Rate", "3",
     "[Setting]\r\nRate=3\r\nRate=2\r\n"},
    {"AppendsKeyAtTheEndOfTheSection", "[Setting]\r\nA=1\r\nnoise\r\n\r\n[Other]\r\nRate=2\r\n",
     "Rate", "5", "[Setting]\r\nA=1\r\nnoise\r\nRate=5\r\n\r\n[Other]\r\nRate=2\r\n"},
    {"AppendsKeyToTheFirstOfTwoSections", "[Setting]\r\nA=1\r\n[Setting]\r\nRate=2\r\n", "Rate",
     "5", "[Setting]\r\nA=1\r\nRate=5\r\n[Setting]\r\nRate=2\r\n"},
    {"AppendsKeyBelowBareHeader", "[Setting]\r\n[Other]\r\n", "Rate", "5",
     "[Setting]\r\nRate=5\r\n[Other]\r\n"},
    {"EndsAnUnfinishedHeaderLine", "[Setting]", "Rate", "5", "[Setting]\r\nRate=5\r\n"},
    {"EndsAnUnfinishedKeyLine", "[Setting]\nA=1", "Rate", "5", "[Setting]\nA=1\r\nRate=5\r\n"},
    {"AppendsSectionAtTheEnd", "; top\r\n[Other]\r\nB=2\r\n\r\n", "Rate", "5",
     "; top\r\n[Other]\r\nB=2\r\n\r\n[Setting]\r\nRate=5\r\n"},
    {"AppendsSectionAfterUnfinishedLine", "[Other]\r\nB=2", "Rate", "5",
     "[Other]\r\nB=2\r\n[Setting]\r\nRate=5\r\n"},
    {"CommentedKeyIsNotReplaced", "[Setting]\r\n;Rate=1\r\n", "Rate", "5",
     "[Setting]\r\n;Rate=1\r\nRate=5\r\n"},
    {"StoresValueUpToItsFirstLineBreak", "[Setting]\r\nRate=1\r\n", "InputText",
     "hi\r\nRate=5\n[Evil]", "[Setting]\r\nRate=1\r\nInputText=hi\r\n"},
    {"StoresQuotesAsGiven", "", "InputText", "\"quoted\"", "[Setting]\r\nInputText=\"quoted\"\r\n"},
    {"KeepsByteOrderMark", "\xEF\xBB\xBF[Setting]\r\nRate=1\r\n", "Rate", "2",
     "\xEF\xBB\xBF[Setting]\r\nRate=2\r\n"},
    {"AddsSectionAfterByteOrderMark", "\xEF\xBB\xBF", "Rate", "2",
     "\xEF\xBB\xBF[Setting]\r\nRate=2\r\n"},
};

class Writing : public ::testing::TestWithParam<WriteCase> {};

TEST_P(Writing, ChangesOnlyWhatItMust) {
    const WriteCase& c = GetParam();
    if (!c.before.empty())
        WriteFile(kFile, c.before);
    EXPECT_EQ(WritePrivateProfileStringA("Setting", c.key, c.value, kFile), TRUE);
    EXPECT_EQ(ReadFile(kFile), c.after);
}

INSTANTIATE_TEST_SUITE_P(PrivateProfile, Writing, ::testing::ValuesIn(kWriteCases), CaseName());

// Each of these names would be read back as another name, a comment or a section header,
// so the value would be lost (or land under another key) while the write reported success.
TEST(PrivateProfileWrite, NamesThatCannotBeReadBackAreRefused) {
    WriteFile(kFile, "[Setting]\r\n");
    const std::vector<std::pair<const char*, const char*>> refused = {
        {"Setting", "Rate\r\n[X]"}, {"Setting\nA", "Rate"}, {"Setting", "Ra=te"},
        {"Setting", " ;Rate"},      {"Setting", "[Rate"},   {"Set]ting", "Rate"},
    };
    for (const auto& [section, key] : refused)
        EXPECT_EQ(WritePrivateProfileStringA(section, key, "]1", kFile), FALSE) << key;
    EXPECT_EQ(ReadFile(kFile), "[Setting]\r\n");
    // The same characters elsewhere in a name are harmless.
    ASSERT_EQ(WritePrivateProfileStringA("[Set", "Ra;t[e]", "1", kFile), TRUE);
    EXPECT_EQ(static_cast<int>(GetPrivateProfileIntA("[Set", "Ra;t[e]", 0, kFile)), 1);
}

// The new content replaces the old without changing what the name stands for: the mode
// stays, a symbolic link stays a link to the same file, a second hard link sees the change.
TEST(PrivateProfileWrite, KeepsModeSymbolicLinkAndHardLink) {
    WriteFile(kFile, "[Setting]\r\n");
    std::filesystem::permissions(kFile, std::filesystem::perms(0640));
    ASSERT_EQ(WritePrivateProfileStringA("Setting", "Rate", "1", kFile), TRUE);
    EXPECT_EQ(std::filesystem::status(kFile).permissions(), std::filesystem::perms(0640));

    WriteFile("real.ini", "[Setting]\r\nRate=1\r\n");
    std::filesystem::create_symlink("real.ini", "link.ini");
    ASSERT_EQ(WritePrivateProfileStringA("Setting", "Rate", "2", "./link.ini"), TRUE);
    EXPECT_TRUE(std::filesystem::is_symlink("link.ini"));
    EXPECT_EQ(ReadFile("real.ini"), "[Setting]\r\nRate=2\r\n");

    WriteFile("shared.ini", "[Setting]\r\nRate=1\r\n");
    std::filesystem::create_hard_link("shared.ini", "other.ini");
    ASSERT_EQ(WritePrivateProfileStringA("Setting", "Rate", "2", "./shared.ini"), TRUE);
    EXPECT_EQ(std::filesystem::hard_link_count("shared.ini"), 2u);
    EXPECT_EQ(ReadFile("other.ini"), "[Setting]\r\nRate=2\r\n");
}

// A write that fails part-way must leave the old file whole and no temporary file behind.
class FailingWrite : public ::testing::Test {
  protected:
    const std::string m_old = "; kept\r\n[Setting]\r\nRate=1\r\n\r\n[Other]\r\nX=y\r\n";

    void SetUp() override {
        WriteFile(kFile, m_old);
        std::filesystem::permissions(kFile, std::filesystem::perms(0644));
    }

    void ExpectOldFileWhole() {
        EXPECT_EQ(ReadFile(kFile), m_old);
        std::vector<std::string> names;
        for (const auto& entry :
             std::filesystem::directory_iterator(std::filesystem::current_path()))
            names.push_back(entry.path().filename().string());
        EXPECT_EQ(names, std::vector<std::string>{"set.ini"});
    }
};

// The limit lets the new content be started but not finished. Ignoring SIGXFSZ makes the
// write fail; its default action kills the process half way through the save.
TEST_F(FailingWrite, FileSizeLimitReachedWhileWriting) {
    for (const bool killed : {false, true}) {
        const auto result = RunInChild([killed] {
            std::signal(SIGXFSZ, killed ? SIG_DFL : SIG_IGN);
            const rlimit limit{16, 16};
            setrlimit(RLIMIT_FSIZE, &limit);
            return WritePrivateProfileStringA("Setting", "Rate", "2", kFile) == FALSE ? 0 : 1;
        });
        EXPECT_EQ(result, killed ? std::nullopt : std::optional<int>(0)) << killed;
        ExpectOldFileWhole();
    }
}

struct PermissionCase {
    const char* name;
    friend void PrintTo(const PermissionCase& c, std::ostream* out) { *out << c.name; }
    bool asRoot;
    std::filesystem::perms fileMode;
    std::filesystem::perms folderMode;
    bool saved;
};

constexpr auto kNoWrite = std::filesystem::perms(0444);
constexpr auto kWritable = std::filesystem::perms(0666);
constexpr auto kOpenFolder = std::filesystem::perms(0777);
constexpr auto kClosedFolder = std::filesystem::perms(0555);

// A read-only file stays as it is even where the folder would let it be replaced, and
// root does not override the attribute; a writable file in a folder we may not write is
// still saved.
const std::vector<PermissionCase> kPermissionCases = {
    {"ReadOnlyFileAsUser", false, kNoWrite, kOpenFolder, false},
    {"ReadOnlyFileAsRoot", true, kNoWrite, kOpenFolder, false},
    {"WritableFileInClosedFolder", false, kWritable, kClosedFolder, true},
};

class Permissions : public ::testing::TestWithParam<PermissionCase> {};

TEST_P(Permissions, DecideWhetherTheFileIsSaved) {
    const PermissionCase& c = GetParam();
    if (c.asRoot && geteuid() != 0)
        GTEST_SKIP() << "needs root";
    const std::string old = "[Setting]\r\nRate=1\r\n";
    WriteFile(kFile, old);
    // The other user owns the file, so only its mode bits keep it from being written.
    if (!c.asRoot && geteuid() == 0) {
        ASSERT_EQ(chown(kFile, 65534, 65534), 0);
    }
    std::filesystem::permissions(kFile, c.fileMode);
    const auto folder = std::filesystem::current_path();
    std::filesystem::permissions(folder, c.folderMode);
    const auto result = RunInChild([&c] {
        if (!c.asRoot && !DropRootPrivileges())
            return 2;
        return WritePrivateProfileStringA("Setting", "Rate", "2", kFile) == TRUE ? 1 : 0;
    });
    std::filesystem::permissions(folder, std::filesystem::perms(0700));
    EXPECT_EQ(result, c.saved ? 1 : 0);
    EXPECT_EQ(ReadFile(kFile), c.saved ? "[Setting]\r\nRate=2\r\n" : old);
    EXPECT_EQ(std::filesystem::status(kFile).permissions(), c.fileMode);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
}

INSTANTIATE_TEST_SUITE_P(PrivateProfile, Permissions, ::testing::ValuesIn(kPermissionCases),
                         CaseName());

} // namespace
