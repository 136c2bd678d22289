#pragma once

#include "platform/ui/DialogTemplate.h"

// An icon resource: the bytes of an .ico file.
struct IconResource {
    UINT id;
    std::span<const unsigned char> bytes;
};

// The resources of the running program, as a module's resource section holds them. Each
// program links exactly one definition of AfxGetResourceModule: Murmelo's comes from res/,
// a test program may bring its own.
struct ResourceModule {
    std::span<const DialogTemplate> dialogs;
    std::span<const IconResource> icons;
};

const ResourceModule& AfxGetResourceModule();
const DialogTemplate* AfxFindDialogTemplate(UINT id);
