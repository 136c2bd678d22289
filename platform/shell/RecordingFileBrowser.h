#pragma once

#include "platform/shell/IFileBrowser.h"

#include <string>
#include <vector>

// A file manager for tests: it opens nothing and remembers every path it was asked to show.
class RecordingFileBrowser : public IFileBrowser {
  public:
    void ShowFileInFileManager(const std::string& path) override;

    const std::vector<std::string>& shownPaths() const { return m_shownPaths; }

  private:
    std::vector<std::string> m_shownPaths;
};
