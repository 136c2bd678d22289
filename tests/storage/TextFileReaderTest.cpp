#include "tests/support/ChildProcess.h"
#include "tests/support/FileBytes.h"

#include "platform/text/AnsiCodePage.h"
#include "storage/TextFileReader.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

using ::testing::internal::CaptureStdout;
using ::testing::internal::GetCapturedStdout;

struct ReadCase {
    const char* name;
    std::string bytes;
    std::optional<std::u16string> expected; // nothing: the output must stay untouched
    int kept;
};

const std::vector<ReadCase> kReadCases = {
    {"EmptyFile", "", std::nullopt, 0},
    {"OnlyDroppedCharacters", ".,$.,$", std::nullopt, 0},
    {"DropsPunctuation", "Hello, world.", u"Hello world", 11},
    {"LastByteOnce", "abc", u"abc", 3},
    {"CrLfBecomesLf", "a\r\nb\r\n", u"a\nb\n", 4},
    {"LoneCrStays", "a\rb", u"a\rb", 3},
    {"CrAtTheEndStays", "a\r", u"a\r", 2},
    {"LineEndJudgedBeforeDropping", "a\r.\nb", u"a\r\nb", 4},
    {"CtrlZEndsTheText",
     "ab\x1A"
     "cd",
     u"ab", 2},
    {"CtrlZFirst",
     "\x1A"
     "abc",
     std::nullopt, 0},
    {"NulEndsTheWideTextButCounts", std::string("ab\0cd", 5), u"ab", 5},
    {"NulFirstGivesEmptyText", std::string("\0ab", 3), u"", 3},
    {"Utf16FileStopsAtItsFirstNul", std::string("h\0i\0", 4), u"h", 4},
    {"Utf8", "\xE4\xBD\xA0\xE5\xA5\xBD, \xF0\x9F\x98\x80", u"\u4F60\u597D \U0001F600", 11},
    {"InvalidBytesBecomeReplacement",
     "a\xFF"
     "b",
     u"a\uFFFDb", 3},
};

class Reading : public ::testing::TestWithParam<ReadCase> {};

TEST_P(Reading, FiltersAndConverts) {
    const ReadCase& c = GetParam();
    WriteFile("in.txt", c.bytes);
    std::optional<std::u16string> text;
    CaptureStdout();
    EXPECT_TRUE(TextFileReader::Read("in.txt", text));
    EXPECT_EQ(GetCapturedStdout(), std::to_string(c.kept) + " char to be conerted......");
    EXPECT_EQ(text, c.expected);
}

INSTANTIATE_TEST_SUITE_P(TextFile, Reading, ::testing::ValuesIn(kReadCases),
                         [](const auto& info) { return std::string(info.param.name); });

// Files are read, filtered and converted in blocks of about 256 KiB, with a CR or the start
// of a UTF-8 character carried from one block to the next. Long texts full of the bytes that
// need care are compared with a plain reading of the same rules over the whole text.
std::string ReadLikeATextFile(const std::string& raw) {
    std::string kept;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char byte = raw[i];
        if (byte == '\x1A')
            break;
        if (byte == '.' || byte == ',' || byte == '$')
            continue;
        if (byte == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n')
            continue;
        kept += byte;
    }
    return kept;
}

struct MixCase {
    const char* name;
    std::vector<std::string> pieces;
    std::size_t bytes;
};

const std::vector<MixCase> kMixCases = {
    {"LineEnds", {"a", "\r\n", "\r", ".", "\n", "bc"}, 1'200'000},
    {"Characters", {"a", "\xE4\xBD\xA0", "\xF0\x9F\x98\x80", "\xC3\xA9", ",", "\r\n"}, 1'200'000},
    {"BrokenCharacters",
     {"\xE4\xBD", "\xF0\x9F", "\x80", "\xFF", ".", "\xE4\xBD\xA0", "z"},
     1'200'000},
    {"NulLate", {"ab", "\xE4\xBD\xA0", "\r\n", std::string(1, '\0'), "."}, 700'000},
};

class LongText : public ::testing::TestWithParam<MixCase> {};

TEST_P(LongText, ReadsAsAWholeTextWould) {
    const MixCase& c = GetParam();
    std::string raw;
    unsigned state = 7;
    // The NUL piece is rare, so that it falls deep inside the file.
    while (raw.size() < c.bytes) {
        state = state * 1103515245u + 12345u;
        const std::size_t piece = (state >> 16) % c.pieces.size();
        if (c.pieces[piece] == std::string(1, '\0') && raw.size() < c.bytes / 2)
            continue;
        raw += c.pieces[piece];
    }
    WriteFile("in.txt", raw);
    const std::string kept = ReadLikeATextFile(raw);
    std::optional<std::u16string> text;
    CaptureStdout();
    ASSERT_TRUE(TextFileReader::Read("in.txt", text));
    EXPECT_EQ(GetCapturedStdout(), std::to_string(kept.size()) + " char to be conerted......");
    ASSERT_TRUE(text);
    EXPECT_TRUE(*text == AnsiCodePage::ToWide(std::string_view(kept).substr(0, kept.find('\0'))));
}

INSTANTIATE_TEST_SUITE_P(TextFile, LongText, ::testing::ValuesIn(kMixCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TextFileRead, BytesNeedingCareAtEveryPlaceAroundTheFirstBlockEnd) {
    const std::string tail = "\r\n\xE4\xBD\xA0\r.\n\xF0\x9F\x98\x80\r";
    for (std::size_t lead = 256 * 1024 - 8; lead <= 256 * 1024 + 12; ++lead) {
        const std::string raw = std::string(lead, 'a') + tail + "z";
        WriteFile("in.txt", raw);
        std::optional<std::u16string> text;
        CaptureStdout();
        ASSERT_TRUE(TextFileReader::Read("in.txt", text));
        GetCapturedStdout();
        ASSERT_TRUE(text);
        EXPECT_TRUE(*text == AnsiCodePage::ToWide(ReadLikeATextFile(raw))) << lead;
    }
}

TEST(TextFileRead, FileThatCannotBeOpenedLeavesTheOutputAlone) {
    std::optional<std::u16string> text = u"earlier";
    CaptureStdout();
    EXPECT_FALSE(TextFileReader::Read("missing.txt", text));
    EXPECT_EQ(GetCapturedStdout(), "Open file missing.txt failed!\n");
    EXPECT_EQ(text, u"earlier");
}

TEST(TextFileRead, NothingKeptLeavesTheOutputAlone) {
    WriteFile("in.txt", "...");
    std::optional<std::u16string> text = u"earlier";
    CaptureStdout();
    EXPECT_TRUE(TextFileReader::Read("in.txt", text));
    GetCapturedStdout();
    EXPECT_EQ(text, u"earlier");
}

// A folder, a FIFO without a writer and an endless device must be refused at once; before,
// the FIFO blocked the dialog forever and the device filled the memory.
TEST(TextFileRead, PathsThatAreNoRegularFilesAreRefusedAtOnce) {
    std::filesystem::create_directory("folder");
    ASSERT_EQ(mkfifo("fifo", 0644), 0);
    for (const char* path : {"folder", "fifo", "/dev/zero"}) {
        const auto result = RunInChild(
            [path] {
                std::optional<std::u16string> text;
                return TextFileReader::Read(path, text) || text ? 1 : 0;
            },
            std::chrono::seconds(5));
        EXPECT_EQ(result, 0) << path;
    }
}

TEST(TextFileRead, FileLargerThanAnIntCountIsRefused) {
    // A sparse file: nothing is written to disk and nothing may be read.
    const std::size_t size = static_cast<std::size_t>(INT_MAX) + 1;
    WriteFile("huge.txt", "");
    std::filesystem::resize_file("huge.txt", size);
    std::optional<std::u16string> text;
    CaptureStdout();
    EXPECT_FALSE(TextFileReader::Read("huge.txt", text));
    EXPECT_EQ(GetCapturedStdout(), "Open file huge.txt failed!\n");
    EXPECT_FALSE(text);
}

TEST(TextFileRead, FileTooLargeForTheMemoryIsRefused) {
    WriteFile("large.txt", "");
    std::filesystem::resize_file("large.txt", 512 * 1024 * 1024);
    const auto result = RunInChild([] {
        const rlimit limit{256 * 1024 * 1024, 256 * 1024 * 1024};
        setrlimit(RLIMIT_AS, &limit);
        std::optional<std::u16string> text;
        return TextFileReader::Read("large.txt", text) || text ? 1 : 0;
    });
    EXPECT_EQ(result, 0);
}

} // namespace
