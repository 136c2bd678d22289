// Feeds the text file reader random files. It never crashes, and its text is exactly what the
// reader's rules make of the bytes: text-mode line ends, Ctrl-Z as the end, the three
// characters dropped, and the conversion up to the first NUL.
#include "tests/fuzz/FuzzSupport.h"

#include "platform/text/AnsiCodePage.h"
#include "storage/TextFileReader.h"

namespace {

const std::string& kFile = FuzzFilePath("fuzz.txt");

// The reader's rules applied to the whole file at once, as its documentation states them.
std::string KeptBytes(std::string_view raw) {
    std::string kept;
    for (std::size_t i = 0; i < raw.size() && raw[i] != '\x1A'; ++i) {
        const bool crlf = raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n';
        if (!crlf && raw[i] != '.' && raw[i] != ',' && raw[i] != '$')
            kept += raw[i];
    }
    return kept;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The reader reports every file on standard output; the fuzzer's own report goes to
    // standard error and stays readable.
    FuzzCheck(std::freopen("/dev/null", "w", stdout), "cannot silence standard output");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view raw(reinterpret_cast<const char*>(data), size);
    WriteFuzzFile(kFile, raw);
    std::optional<std::u16string> text, expected;
    FuzzCheck(TextFileReader::Read(kFile.c_str(), text), "a readable file was refused");
    // A file of which no byte is kept leaves the output as it was.
    const std::string kept = KeptBytes(raw);
    if (!kept.empty())
        expected = AnsiCodePage::ToWide(std::string_view(kept).substr(0, kept.find('\0')));
    FuzzCheck(text == expected, "the text differs from what the reader's rules make of the file");
    return 0;
}
