#include "platform/text/StringTable.h"

namespace {
std::span<const StringResource> g_table;
}

void StringTable::Install(std::span<const StringResource> table) {
    g_table = table;
}

const char* StringTable::Find(UINT id) {
    for (const StringResource& entry : g_table) {
        if (entry.id == id)
            return entry.text;
    }
    return nullptr;
}
