#include "towav/InputText.h"

#include <cstdio>
#include <memory>
#include <string_view>

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

} // namespace

std::optional<std::string> InputText::Read(const std::string& path) {
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return std::nullopt;
    std::string text;
    std::string chunk(64 * 1024, '\0');
    std::size_t read = 0;
    while ((read = std::fread(chunk.data(), 1, chunk.size(), file.get())) > 0)
        text.append(chunk, 0, read);
    // A folder opens like a file and fails only here.
    if (std::ferror(file.get()))
        return std::nullopt;
    if (text.starts_with(kByteOrderMark))
        text.erase(0, kByteOrderMark.size());
    return text;
}
