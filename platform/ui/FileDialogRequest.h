#pragma once

#include "platform/base/WinTypes.h"

#include <string>
#include <vector>

// Flags of a file dialog, with the values the dialog code is written in.
inline constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002u;
inline constexpr DWORD OFN_HIDEREADONLY = 0x00000004u;
inline constexpr DWORD OFN_ENABLEHOOK = 0x00000020u;
inline constexpr DWORD OFN_CREATEPROMPT = 0x00002000u;
inline constexpr DWORD OFN_EXPLORER = 0x00080000u;

enum class FileDialogMode { Open, Save };

// One entry of a file dialog's filter: "wav File" with the patterns "*.wav".
struct FileFilter {
    std::string label;
    std::vector<std::string> patterns;

    friend bool operator==(const FileFilter&, const FileFilter&) = default;
};

// Everything a file dialog is asked to show, as the prompts receive it.
struct FileDialogRequest {
    FileDialogMode mode = FileDialogMode::Open;
    std::string title;
    // Appended to a chosen name that has no extension; empty for none. Held without a
    // leading "*." or ".", so "*.txt" and "txt" mean the same.
    std::string defaultExtension;
    // The name the dialog starts with; empty when the initial name was a pattern.
    std::string fileName;
    std::vector<FileFilter> filters;
    // The filter chosen at first: an index into filters.
    std::size_t selectedFilter = 0;
    // The folder the dialog starts in; empty for the platform's choice.
    std::string initialDir;
    DWORD flags = 0;
};

// Splits a filter string of "label|pattern|label|pattern|..." pairs, patterns separated by
// ';', into its entries. An empty label (the closing "||") ends the list.
std::vector<FileFilter> ParseFileFilter(const char* filter);
