#include "tests/support/CaseName.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/FileBytes.h"

#include "platform/profile/PrivateProfile.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr const char* kFile = "./set.ini";

std::string Rate(const std::string& value) {
    return "[Setting]\r\nRate=" + value + "\r\n";
}

std::string Repeat(const std::string& text, int count) {
    std::string repeated;
    for (int i = 0; i < count; ++i)
        repeated += text;
    return repeated;
}

struct ReadCase {
    const char* name;
    std::string file;
    std::string expected; // "<default>" when the default must come back
    DWORD size = 260;
};

// Rate of [Setting], read into a buffer of size bytes. "\xE4\xBD\xA0" is a three-byte
// character, "\xF0\x9F\x98\x80" a four-byte one: a cut never splits one.
const ReadCase kReadCases[] = {
    {"ExactNames", Rate("5"), "5"},
    {"NamesIgnoreCase", "[sETTING]\r\nrATE=5\r\n", "5"},
    {"BlanksAroundNamesAndValue", "  [ Setting ]  \r\n\t Rate \t=  a b  \r\n", "a b"},
    {"LineFeedOnly", "[Setting]\nA=1\nRate=5\n", "5"},
    {"LastLineWithoutLineEnd", "[Setting]\r\nRate=5", "5"},
    {"FirstKeyWins", "[Setting]\r\nRate=1\r\nrate=2\r\n", "1"},
    {"FirstSectionWins", "[Setting]\r\nA=1\r\n[setting]\r\nRate=2\r\n", "<default>"},
    {"KeyOfAnotherSection", "[Other]\r\nRate=1\r\n[Setting]\r\n", "<default>"},
    {"KeyBeforeAnySection", "Rate=1\r\n[Setting]\r\n", "<default>"},
    {"CommentIsNoKey", "[Setting]\r\n;Rate=1\r\n  ; Rate=2\r\n", "<default>"},
    {"LineWithoutEqualsIsNoKey", "[Setting]\r\nRate\r\n", "<default>"},
    {"EqualsInValue", Rate("a=b"), "a=b"},
    {"DoubleQuotesRemoved", Rate("\"5\""), "5"},
    {"SingleQuotesRemoved", Rate("' 5 '"), " 5 "},
    {"EmptyQuotes", Rate("\"\""), ""},
    {"UnmatchedQuoteStays", Rate("\"5"), "\"5"},
    {"LoneQuoteStays", Rate("\""), "\""},
    {"EmptyValue", Rate(""), ""},
    {"ByteOrderMarkBeforeSection", "\xEF\xBB\xBF" + Rate("5"), "5"},
    {"FitsExactly", Rate("abc"), "abc", 4},
    {"CutAtSizeMinusOne", Rate("abcdef"), "abc", 4},
    {"SizeOneGivesEmpty", Rate("abc"), "", 1},
    {"ThreeByteCharacterLeftOutWhole", Rate("ab\xE4\xBD\xA0"), "ab", 4},
    {"ThreeByteCharacterOneByteShort", Rate("ab\xE4\xBD\xA0"), "ab", 5},
    {"ThreeByteCharacterFits", Rate("ab\xE4\xBD\xA0z"), "ab\xE4\xBD\xA0", 6},
    {"FourByteCharacterLeftOutWhole", Rate("\xF0\x9F\x98\x80"), "", 4},
    {"StrayContinuationBytesCutLikeBytes", Rate("a\x80\x80\x80\x80"), "a\x80", 3},
    {"LongTextCutAt259", Rate(std::string(300, 'a')), std::string(259, 'a')},
    {"LongChineseTextCutBeforeCharacter", Rate(Repeat("\xE4\xBD\xA0", 100)),
     Repeat("\xE4\xBD\xA0", 86)},
};

class Reading : public testing::TestWithParam<ReadCase> {};

TEST_P(Reading, FindsTheValueAndNeverWritesPastTheBuffer) {
    const ReadCase& c = GetParam();
    WriteFile(kFile, c.file);
    std::string buffer(c.size + 8, '#');
    const DWORD length =
        GetPrivateProfileStringA("Setting", "Rate", "<default>", buffer.data(), c.size, kFile);
    EXPECT_EQ(buffer.substr(0, length), c.expected);
    EXPECT_EQ(buffer[length], '\0');
    EXPECT_EQ(buffer.substr(c.size), std::string(8, '#')) << "wrote past the buffer";
}

INSTANTIATE_TEST_SUITE_P(PrivateProfile, Reading, testing::ValuesIn(kReadCases), CaseName());

struct IntegerCase {
    const char* name;
    const char* stored;
    int expected;
};

const IntegerCase kIntegerCases[] = {
    {"Decimal", "42", 42},
    {"Negative", "-1", -1},
    {"Quoted", "\"5\"", 5},
    {"TrailingLetters", "5abc", 5},
    {"Fraction", "3.7", 3},
    {"Letters", "abc", 0},
    {"BlankAfterSign", "- 5", 0},
    {"HexadecimalStopsAtG", "0x1fFg", 511},
    {"UpperCasePrefixIsNoPrefix", "0X1F", 0},
    {"Octal", "0o17", 15},
    {"OctalStopsAtEight", "0o18", 1},
    {"Binary", "0b101", 5},
    {"NegativeHexadecimal", "-0x10", -16},
    {"WrapsPastLargest", "2147483648", -2147483647 - 1},
    {"WrapsPast32Bits", "4294967301", 5},
    {"EmptyValueGivesDefault", "", 77},
    {"EmptyQuotesGiveDefault", "''", 77},
};

class IntegerReading : public testing::TestWithParam<IntegerCase> {};

TEST_P(IntegerReading, ReadsLikeTheOriginal) {
    WriteFile(kFile, Rate(GetParam().stored));
    EXPECT_EQ(static_cast<int>(GetPrivateProfileIntA("Setting", "Rate", 77, kFile)),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(PrivateProfile, IntegerReading, testing::ValuesIn(kIntegerCases),
                         CaseName());

// The default loses its trailing blanks and is cut like a value; a buffer of size 0 is
// not touched at all.
TEST(PrivateProfileRead, DefaultIsTrimmedAndCutAndAnEmptyBufferIsLeftAlone) {
    char buffer[4] = "";
    EXPECT_EQ(GetPrivateProfileStringA("Setting", "X", "ab  ", buffer, sizeof buffer, kFile), 2u);
    EXPECT_STREQ(buffer, "ab");
    EXPECT_EQ(GetPrivateProfileStringA("Setting", "X", "abcdef", buffer, sizeof buffer, kFile), 3u);
    EXPECT_STREQ(buffer, "abc");
    WriteFile(kFile, Rate("5"));
    char untouched = '#';
    EXPECT_EQ(GetPrivateProfileStringA("Setting", "Rate", "", &untouched, 0, kFile), 0u);
    EXPECT_EQ(untouched, '#');
}

// A name that is no regular file gives the defaults and is never replaced by a file.
TEST(PrivateProfileRead, MissingFileFolderOrFifoGivesDefaultsAndIsLeftAlone) {
    fs::create_directory("folder.ini");
    ASSERT_EQ(mkfifo("fifo.ini", 0644), 0);
    for (const char* path : {kFile, "./folder.ini", "./fifo.ini"}) {
        char buffer[16] = "untouched";
        EXPECT_EQ(GetPrivateProfileIntA("Setting", "Rate", 10, path), 10u) << path;
        EXPECT_EQ(GetPrivateProfileStringA("Setting", "Text", "none", buffer, sizeof buffer, path),
                  4u);
        EXPECT_STREQ(buffer, "none");
    }
    EXPECT_EQ(WritePrivateProfileStringA("Setting", "Rate", "1", "./folder.ini"), FALSE);
    EXPECT_EQ(WritePrivateProfileStringA("Setting", "Rate", "1", "./fifo.ini"), FALSE);
    EXPECT_TRUE(fs::is_directory("folder.ini"));
    EXPECT_TRUE(fs::is_fifo("fifo.ini"));
}

struct WriteCase {
    const char* name;
    std::string before; // no file when empty
    const char* key;
    const char* value;
    std::string after;
};

const WriteCase kWriteCases[] = {
    {"ReplacesValueInPlace", "[Setting]\r\nRate=1\r\nLoop=2\r\n", "Rate", "7",
     "[Setting]\r\nRate=7\r\nLoop=2\r\n"},
    {"ReplacesWhateverTheCase", "[setting]\r\nrate=1\r\n", "Rate", "-7",
     "[setting]\r\nrate=-7\r\n"},
    {"KeepsSpacingAndLineFeeds", "; mine\n[Setting]\n  Rate = 1  \nLoop=2\n", "Rate", "12",
     "; mine\n[Setting]\n  Rate = 12  \nLoop=2\n"},
    {"ReplacesEmptyValue", Rate(""), "Rate", "3", Rate("3")},
    {"ReplacesOnlyTheFirstKey", "[Setting]\r\nRate=1\r\nRate=2\r\n", "Rate", "3",
     "[Setting]\r\nRate=3\r\nRate=2\r\n"},
    {"AppendsKeyAtTheEndOfTheSection", "[Setting]\r\nA=1\r\nnoise\r\n\r\n[Other]\r\nRate=2\r\n",
     "Rate", "5", "[Setting]\r\nA=1\r\nnoise\r\nRate=5\r\n\r\n[Other]\r\nRate=2\r\n"},
    {"AppendsKeyToTheFirstOfTwoSections", "[Setting]\r\nA=1\r\n[Setting]\r\nRate=2\r\n", "Rate",
     "5", "[Setting]\r\nA=1\r\nRate=5\r\n[Setting]\r\nRate=2\r\n"},
    {"AppendsKeyBelowBareHeader", "[Setting]\r\n[Other]\r\n", "Rate", "5",
     "[Setting]\r\nRate=5\r\n[Other]\r\n"},
    {"EndsAnUnfinishedHeaderLine", "[Setting]", "Rate", "5", Rate("5")},
    {"EndsAnUnfinishedKeyLine", "[Setting]\nA=1", "Rate", "5", "[Setting]\nA=1\r\nRate=5\r\n"},
    {"AppendsSectionAtTheEnd", "; top\r\n[Other]\r\nB=2\r\n\r\n", "Rate", "5",
     "; top\r\n[Other]\r\nB=2\r\n\r\n" + Rate("5")},
    {"AppendsSectionAfterUnfinishedLine", "[Other]\r\nB=2", "Rate", "5",
     "[Other]\r\nB=2\r\n" + Rate("5")},
    {"CommentedKeyIsNotReplaced", "[Setting]\r\n;Rate=1\r\n", "Rate", "5",
     "[Setting]\r\n;Rate=1\r\nRate=5\r\n"},
    {"StoresValueUpToItsFirstLineBreak", Rate("1"), "InputText", "hi\r\nRate=5\n[Evil]",
     Rate("1") + "InputText=hi\r\n"},
    {"StoresQuotesAsGiven", "", "Rate", "\"quoted\"", Rate("\"quoted\"")},
    {"KeepsByteOrderMark", "\xEF\xBB\xBF" + Rate("1"), "Rate", "2", "\xEF\xBB\xBF" + Rate("2")},
    {"AddsSectionAfterByteOrderMark", "\xEF\xBB\xBF", "Rate", "2", "\xEF\xBB\xBF" + Rate("2")},
};

class Writing : public testing::TestWithParam<WriteCase> {};

TEST_P(Writing, ChangesOnlyWhatItMust) {
    const WriteCase& c = GetParam();
    if (!c.before.empty())
        WriteFile(kFile, c.before);
    EXPECT_EQ(WritePrivateProfileStringA("Setting", c.key, c.value, kFile), TRUE);
    EXPECT_EQ(ReadFile(kFile), c.after);
}

INSTANTIATE_TEST_SUITE_P(PrivateProfile, Writing, testing::ValuesIn(kWriteCases), CaseName());

// Each of these names would be read back as another name, a comment or a section header,
// so the value would be lost (or land under another key) while the write reported success.
TEST(PrivateProfileWrite, NamesThatCannotBeReadBackAreRefused) {
    WriteFile(kFile, "[Setting]\r\n");
    const std::pair<const char*, const char*> refused[] = {
        {"Setting", "Rate\r\n[X]"}, {"Setting\nA", "Rate"}, {"Setting", "Ra=te"},
        {"Setting", " ;Rate"},      {"Setting", "[Rate"},   {"Set]ting", "Rate"}};
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
    fs::permissions(kFile, fs::perms(0640));
    ASSERT_EQ(WritePrivateProfileStringA("Setting", "Rate", "1", kFile), TRUE);
    EXPECT_EQ(fs::status(kFile).permissions(), fs::perms(0640));
    // Each link on a file of its own: a file with two names is rewritten in place, which
    // would keep a symbolic link to it whatever the link rule.
    WriteFile("real.ini", Rate("1"));
    fs::create_symlink("real.ini", "link.ini");
    ASSERT_EQ(WritePrivateProfileStringA("Setting", "Rate", "2", "./link.ini"), TRUE);
    EXPECT_TRUE(fs::is_symlink("link.ini"));
    EXPECT_EQ(ReadFile("real.ini"), Rate("2"));
    WriteFile("shared.ini", Rate("1"));
    fs::create_hard_link("shared.ini", "other.ini");
    ASSERT_EQ(WritePrivateProfileStringA("Setting", "Rate", "2", "./shared.ini"), TRUE);
    EXPECT_EQ(fs::hard_link_count("shared.ini"), 2u);
    EXPECT_EQ(ReadFile("other.ini"), Rate("2"));
}

// The limit lets the new content be started but not finished. Ignoring SIGXFSZ makes the
// write fail; its default action kills the process half way through the save. Either way
// the old file stays whole and no temporary file is left behind.
TEST(PrivateProfileWrite, FileSizeLimitReachedWhileWritingLeavesTheOldFileWhole) {
    const std::string old = "; kept\r\n[Setting]\r\nRate=1\r\n\r\n[Other]\r\nX=y\r\n";
    WriteFile(kFile, old);
    for (const bool killed : {false, true}) {
        const auto result = RunInChild([killed] {
            std::signal(SIGXFSZ, killed ? SIG_DFL : SIG_IGN);
            const rlimit limit{16, 16};
            setrlimit(RLIMIT_FSIZE, &limit);
            return WritePrivateProfileStringA("Setting", "Rate", "2", kFile) == FALSE ? 0 : 1;
        });
        EXPECT_EQ(result, killed ? std::nullopt : std::optional<int>(0)) << killed;
        EXPECT_EQ(ReadFile(kFile), old);
        EXPECT_EQ(std::distance(fs::directory_iterator("."), {}), 1) << killed;
    }
}

// A read-only file stays as it is even where the folder would let it be replaced, and
// root does not override the attribute; a writable file in a folder we may not write is
// still saved.
TEST(PrivateProfileWrite, PermissionsDecideWhetherTheFileIsSaved) {
    const struct {
        const char* name;
        bool asRoot;
        fs::perms fileMode, folderMode;
        bool saved;
    } rows[] = {
        {"read-only file as user", false, fs::perms(0444), fs::perms(0777), false},
        {"read-only file as root", true, fs::perms(0444), fs::perms(0777), false},
        {"writable file in closed folder", false, fs::perms(0666), fs::perms(0555), true},
    };
    const auto folder = fs::current_path();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.asRoot && geteuid() != 0)
            continue;
        WriteFile(kFile, Rate("1"));
        // The other user owns the file, so only its mode bits keep it from being written.
        if (!row.asRoot && geteuid() == 0) {
            ASSERT_EQ(chown(kFile, 65534, 65534), 0);
        }
        fs::permissions(kFile, row.fileMode);
        fs::permissions(folder, row.folderMode);
        const auto result = RunInChild([&row] {
            if (!row.asRoot && !DropRootPrivileges())
                return 2;
            return WritePrivateProfileStringA("Setting", "Rate", "2", kFile) == TRUE ? 1 : 0;
        });
        fs::permissions(folder, fs::perms(0700));
        EXPECT_EQ(result, row.saved ? 1 : 0);
        EXPECT_EQ(ReadFile(kFile), Rate(row.saved ? "2" : "1"));
        EXPECT_EQ(fs::status(kFile).permissions(), row.fileMode);
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), {}), 1);
        fs::remove(kFile);
    }
}

} // namespace
