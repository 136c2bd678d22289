#pragma once

#include "platform/shell/IFileBrowser.h"

// The file manager the dialog uses: the desktop's own unless a test installed another.
IFileBrowser& AfxGetFileBrowser();

// Installs browser (not owned; it must outlive its use) in place of the current one and
// returns the one it replaces. A null browser puts the desktop's own back.
IFileBrowser* AfxSetFileBrowser(IFileBrowser* browser);
