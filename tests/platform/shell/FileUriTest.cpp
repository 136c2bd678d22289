#include "platform/shell/FileUri.h"

#include <gtest/gtest.h>

namespace {

TEST(FileUriTest, EncodesEverythingButUnreservedCharactersAndSlashes) {
    const struct {
        const char* path;
        const char* uri;
    } cases[] = {
        {"/", "file:///"},
        {"/home/ann/out.wav", "file:///home/ann/out.wav"},
        {"/my dir/a-b_c.~d", "file:///my%20dir/a-b_c.~d"},
        {"/say \"hi\".wav", "file:///say%20%22hi%22.wav"},
        {"/#1?%25&;+=:@'", "file:///%231%3F%2525%26%3B%2B%3D%3A%40%27"},
        {"/Grüße/进程", "file:///Gr%C3%BC%C3%9Fe/%E8%BF%9B%E7%A8%8B"},
        {"/line\nbreak\\", "file:///line%0Abreak%5C"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileUri(c.path), c.uri) << c.path;
    }
}

} // namespace
