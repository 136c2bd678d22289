#include "platform/shell/RecordingFileBrowser.h"

void RecordingFileBrowser::ShowFileInFileManager(const std::string& path) {
    m_shownPaths.push_back(path);
}
