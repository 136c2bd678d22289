// The windows a person opens besides the main one: the Help notice and the about box.
#include "tests/e2e/EndToEndTest.h"

namespace {

using std::chrono::seconds;

constexpr auto kBoxLimit = seconds(10);

using WindowTest = EndToEndTest;

TEST_F(WindowTest, HelpNoticeOpensAndCloses) {
    ASSERT_TRUE(StartProgram());
    // Shift+Tab from Read wraps round to Help, the last button in the tab order.
    ASSERT_TRUE(Keys().Press({"shift+Tab", "space"}));
    ASSERT_TRUE(Windows().WaitUntilShown("Info", kBoxLimit)) << "no notice titled \"Info\"";
    ASSERT_TRUE(Keys().Press({"Return"}));
    ASSERT_TRUE(Windows().WaitUntilGone("Info", kBoxLimit)) << "Enter did not close the notice";
    ExpectEndsOnEscape();
}

TEST_F(WindowTest, AboutBoxOpensFromTheSystemMenuAndCloses) {
    ASSERT_TRUE(StartProgram());
    const std::size_t shown = Windows().ShownCount();
    ASSERT_TRUE(Keys().Press({"alt+space"}));
    ASSERT_TRUE(Windows().WaitUntilMoreShown(shown, kBoxLimit)) << "Alt+Space opened no menu";
    // The about entry's mnemonic.
    ASSERT_TRUE(Keys().Press({"a"}));
    ASSERT_TRUE(Windows().WaitUntilShown("关于 Murmelo", kBoxLimit)) << "no about box";
    ASSERT_TRUE(Keys().Press({"Escape"}));
    ASSERT_TRUE(Windows().WaitUntilGone("关于 Murmelo", kBoxLimit))
        << "Escape did not close the about box";
    ExpectEndsOnEscape();
}

} // namespace
