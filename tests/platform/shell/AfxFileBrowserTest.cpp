#include "platform/shell/AfxFileBrowser.h"

#include "platform/shell/FileManagerBrowser.h"
#include "platform/shell/RecordingFileBrowser.h"

#include <gtest/gtest.h>

namespace {

TEST(AfxFileBrowserTest, InstalledBrowserStandsInUntilRemoved) {
    IFileBrowser& desktop = AfxGetFileBrowser();
    EXPECT_NE(dynamic_cast<FileManagerBrowser*>(&desktop), nullptr);

    RecordingFileBrowser recording;
    EXPECT_EQ(AfxSetFileBrowser(&recording), &desktop);
    AfxGetFileBrowser().ShowFileInFileManager("/tmp/a b.wav");
    EXPECT_EQ(recording.shownPaths(), std::vector<std::string>{"/tmp/a b.wav"});

    EXPECT_EQ(AfxSetFileBrowser(nullptr), &recording);
    EXPECT_EQ(&AfxGetFileBrowser(), &desktop);
}

} // namespace
