#include "platform/text/StringTable.h"
#include "res/resource.h"

namespace {

constexpr StringResource kStrings[] = {
    {IDP_OLE_INIT_FAILED, "OLE 程序初始化失败。请确认 OLE 库程序是正确的版本。"},
    {IDS_ABOUTBOX, "关于 Murmelo(&A)..."},
};

// The string table is part of the program's resources: it is there before main() runs.
const bool g_installed = [] {
    StringTable::Install(kStrings);
    return true;
}();

} // namespace
