#pragma once

#include "platform/shell/IFileBrowser.h"

// Asks the running file manager over the session bus (org.freedesktop.FileManager1) to
// show the file selected; where no file manager offers that service, opens the file's
// folder with xdg-open instead.
class FileManagerBrowser : public IFileBrowser {
  public:
    void ShowFileInFileManager(const std::string& path) override;
};
