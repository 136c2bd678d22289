#include "platform/ui/ResourceModule.h"

const DialogTemplate* AfxFindDialogTemplate(UINT id) {
    for (const DialogTemplate& dialog : AfxGetResourceModule().dialogs) {
        if (dialog.id == id)
            return &dialog;
    }
    return nullptr;
}
