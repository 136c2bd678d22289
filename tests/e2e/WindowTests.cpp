// The windows a person opens besides the main one: the Help notice and the about box.
#include "tests/e2e/EndToEndTest.h"

namespace {

using WindowTest = EndToEndTest;

TEST_F(WindowTest, HelpNoticeAndAboutBoxOpenAndClose) {
    const struct {
        const char* name;
        std::vector<std::string> open;
        const char* title;
        const char* close;
    } rows[] = {
        // Shift+Tab from Read wraps round to Help, the last button in the tab order.
        {"Help notice", {"shift+Tab", "space"}, "Info", "Return"},
        // The system menu's about entry, by its mnemonic.
        {"about box", {"alt+space", "a"}, "关于 Murmelo", "Escape"},
    };
    ASSERT_TRUE(StartProgram());
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(PressOneByOne(row.open));
        ASSERT_TRUE(WaitUntilShown(row.title)) << "the box did not open";
        ASSERT_TRUE(Press({row.close}));
        ASSERT_TRUE(WaitUntilGone(row.title)) << "the box did not close";
    }
    ExpectEndsOnEscape();
}

} // namespace
