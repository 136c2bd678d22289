#include "platform/shell/AfxFileBrowser.h"

#include "platform/shell/FileManagerBrowser.h"

namespace {

IFileBrowser& DesktopFileBrowser() {
    static FileManagerBrowser browser;
    return browser;
}

IFileBrowser* g_installed = nullptr;

} // namespace

IFileBrowser& AfxGetFileBrowser() {
    return g_installed != nullptr ? *g_installed : DesktopFileBrowser();
}

IFileBrowser* AfxSetFileBrowser(IFileBrowser* browser) {
    IFileBrowser* previous = &AfxGetFileBrowser();
    g_installed = browser;
    return previous;
}
