#include "tests/support/CaseName.h"
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

// Reads the file into a text that held "earlier" before; returns what Read returned, and
// what it printed.
struct Reading {
    explicit Reading(const char* path) {
        CaptureStdout();
        ok = TextFileReader::Read(path, text);
        printed = GetCapturedStdout();
    }

    std::optional<std::u16string> text = u"earlier";
    bool ok;
    std::string printed;
};

struct ReadCase {
    const char* name;
    std::string bytes;
    std::u16string expected; // "earlier": the output is left alone
    int kept;
};

void PrintTo(const ReadCase& c, std::ostream* os) {
    *os << c.name;
}

const std::vector<ReadCase> kReadCases = {
    {"EmptyFile", "", u"earlier", 0},
    {"OnlyDroppedCharacters", ".,$.,$", u"earlier", 0},
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
     u"earlier", 0},
    {"NulEndsTheWideTextButCounts", std::string("ab\0cd", 5), u"ab", 5},
    {"NulFirstGivesEmptyText", std::string("\0ab", 3), u"", 3},
    {"Utf16FileStopsAtItsFirstNul", std::string("h\0i\0", 4), u"h", 4},
    {"Utf8", "\xE4\xBD\xA0\xE5\xA5\xBD, \xF0\x9F\x98\x80", u"\u4F60\u597D \U0001F600", 11},
    {"InvalidBytesBecomeReplacement",
     "a\xFF"
     "b",
     u"a\uFFFDb", 3},
};

class TextFileRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(TextFileRead, FiltersAndConverts) {
    const ReadCase& c = GetParam();
    WriteFile("in.txt", c.bytes);
    const Reading reading("in.txt");
    EXPECT_TRUE(reading.ok);
    EXPECT_EQ(reading.printed, std::to_string(c.kept) + " char to be conerted......");
    EXPECT_EQ(reading.text, c.expected);
}

INSTANTIATE_TEST_SUITE_P(Bytes, TextFileRead, ::testing::ValuesIn(kReadCases), CaseName());

// Files are read, filtered and converted in blocks of about 256 KiB, with a CR or the start
// of a UTF-8 character carried from one block to the next. Long texts full of the bytes that
// need care are compared with a plain reading of the same rules over the whole text.
std::string KeptBytes(const std::string& raw) {
    std::string kept;
    for (std::size_t i = 0; i < raw.size() && raw[i] != '\x1A'; ++i) {
        const bool crlf = raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n';
        if (!crlf && std::string_view(".,$").find(raw[i]) == std::string_view::npos)
            kept += raw[i];
    }
    return kept;
}

// Reads the file and checks the count it prints and the text against KeptBytes.
void ExpectReadAsAWhole(const std::string& raw) {
    WriteFile("in.txt", raw);
    const Reading reading("in.txt");
    const std::string kept = KeptBytes(raw);
    EXPECT_EQ(reading.printed, std::to_string(kept.size()) + " char to be conerted......");
    ASSERT_TRUE(reading.text);
    EXPECT_TRUE(*reading.text ==
                AnsiCodePage::ToWide(std::string_view(kept).substr(0, kept.find('\0'))));
}

TEST(TextFileReadLong, ReadsAsAWholeTextWould) {
    const std::vector<std::string> pieces = {
        "a", "\r\n", "\r", ".", "\n", "\xE4\xBD\xA0", "\xF0\x9F\x98\x80", "\xE4\xBD", "\xFF", ","};
    std::string raw;
    unsigned state = 7;
    while (raw.size() < 1'200'000) {
        state = state * 1103515245u + 12345u;
        raw += pieces[(state >> 16) % pieces.size()];
    }
    // A NUL in the last block ends the wide text, though everything is counted.
    raw.insert(raw.size() - 100, 1, '\0');
    ExpectReadAsAWhole(raw);
}

TEST(TextFileReadLong, BytesNeedingCareAtEveryPlaceAroundTheFirstBlockEnd) {
    const std::string tail = "\r\n\xE4\xBD\xA0\r.\n\xF0\x9F\x98\x80\r";
    for (std::size_t lead = 256 * 1024 - 8; lead <= 256 * 1024 + 12; ++lead) {
        SCOPED_TRACE(lead);
        ExpectReadAsAWhole(std::string(lead, 'a') + tail + "z");
    }
}

TEST(TextFileReadFailure, FileThatCannotBeOpenedLeavesTheOutputAlone) {
    const Reading reading("missing.txt");
    EXPECT_FALSE(reading.ok);
    EXPECT_EQ(reading.printed, "Open file missing.txt failed!\n");
    EXPECT_EQ(reading.text, u"earlier");
}

// A folder, a FIFO without a writer and an endless device must be refused at once; before,
// the FIFO blocked the dialog forever and the device filled the memory.
TEST(TextFileReadFailure, PathsThatAreNoRegularFilesAreRefusedAtOnce) {
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

// Sparse files: nothing is written to disk and nothing may be read.
TEST(TextFileReadFailure, FileLargerThanAnIntCountIsRefused) {
    WriteFile("huge.txt", "");
    std::filesystem::resize_file("huge.txt", static_cast<std::size_t>(INT_MAX) + 1);
    const Reading reading("huge.txt");
    EXPECT_FALSE(reading.ok);
    EXPECT_EQ(reading.printed, "Open file huge.txt failed!\n");
}

TEST(TextFileReadFailure, FileTooLargeForTheMemoryIsRefused) {
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
