#include "platform/ui/ResourceModule.h"
#include "res/AboutDialogTemplate.h"
#include "res/MainFrameIcon.h"
#include "res/MurmeloDialogTemplate.h"
#include "res/resource.h"

namespace {

const DialogTemplate kDialogs[] = {
    g_aboutDialogTemplate,
    g_murmeloDialogTemplate,
};

const IconResource kIcons[] = {
    {IDR_MAINFRAME, g_mainFrameIcon},
};

const ResourceModule kModule{kDialogs, kIcons};

} // namespace

const ResourceModule& AfxGetResourceModule() {
    return kModule;
}
