#pragma once

#include <string>

// The desktop's file manager, as far as the dialog uses it.
class IFileBrowser {
  public:
    virtual ~IFileBrowser() = default;

    // Opens a file manager window with the file at path selected. Nothing waits for the
    // window, and whether it opened is not reported.
    virtual void ShowFileInFileManager(const std::string& path) = 0;
};
