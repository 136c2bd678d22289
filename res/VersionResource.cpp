#include "res/VersionResource.h"

namespace {

// Chinese (PRC), in the Unicode code page.
constexpr WORD kChinesePrc = 0x0804;
constexpr WORD kUnicode = 1200;

constexpr VersionString kStrings[] = {
    {"CompanyName", ""},
    {"FileDescription", "Murmelo Microsoft 基础类应用程序"},
    {"FileVersion", "1, 0, 0, 1"},
    {"InternalName", "Murmelo"},
    {"LegalCopyright", "版权所有 (C) 2026"},
    {"LegalTrademarks", ""},
    {"OriginalFilename", "Murmelo.EXE"},
    {"ProductName", "Murmelo 应用程序"},
    {"ProductVersion", "1, 0, 0, 1"},
};

} // namespace

const VersionResource g_versionResource{
    {1, 0, 0, 1}, {1, 0, 0, 1}, kChinesePrc, kUnicode, kStrings,
};
