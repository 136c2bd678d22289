#include "platform/ui/FileDialogRequest.h"

#include <string_view>

namespace {

std::vector<std::string> Split(std::string_view text, char separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = text.find(separator, start);
        parts.emplace_back(text.substr(start, end - start));
        if (end == std::string_view::npos)
            return parts;
        start = end + 1;
    }
}

} // namespace

std::vector<FileFilter> ParseFileFilter(const char* filter) {
    std::vector<FileFilter> filters;
    if (!filter)
        return filters;
    const std::vector<std::string> fields = Split(filter, '|');
    for (std::size_t i = 0; i + 1 < fields.size(); i += 2) {
        // An empty label, as in the closing "||", ends the list.
        if (fields[i].empty())
            break;
        FileFilter entry{fields[i], {}};
        for (std::string& pattern : Split(fields[i + 1], ';'))
            if (!pattern.empty())
                entry.patterns.push_back(std::move(pattern));
        filters.push_back(std::move(entry));
    }
    return filters;
}
