#include "platform/ole/GuidString.h"
#include "platform/ole/StandardIids.h"

#include <gtest/gtest.h>

namespace {

// Interface ids arrive as text from any client on the bus: only the registry form, in
// either case, is an id.
TEST(GuidStringTest, ReadsTheRegistryFormInEitherCaseAndRefusesAnythingElse) {
    EXPECT_EQ(StringFromGUID(IID_IDispatch), "{00020400-0000-0000-C000-000000000046}");
    const struct {
        const char* name;
        const char* text;
        std::optional<GUID> expected;
    } rows[] = {
        {"upper case", "{00020400-0000-0000-C000-000000000046}", IID_IDispatch},
        {"lower case", "{00020400-0000-0000-c000-000000000046}", IID_IDispatch},
        {"every digit", "{6A0F3C11-52D4-4E0B-9B1E-3C7D21845A60}",
         GUID{0x6A0F3C11, 0x52D4, 0x4E0B, {0x9B, 0x1E, 0x3C, 0x7D, 0x21, 0x84, 0x5A, 0x60}}},
        {"no braces", "00020400-0000-0000-C000-000000000046", std::nullopt},
        {"wrong closing brace", "{00020400-0000-0000-C000-000000000046)", std::nullopt},
        {"brace and blank", "{00020400-0000-0000-C000-000000000046} ", std::nullopt},
        {"hyphen moved", "{0002040-00000-0000-C000-000000000046}", std::nullopt},
        {"not a hex digit", "{0002040G-0000-0000-C000-000000000046}", std::nullopt},
        {"sign", "{+0020400-0000-0000-C000-000000000046}", std::nullopt},
        {"one digit too many", "{00020400-0000-0000-C000-0000000000460}", std::nullopt},
    };
    for (const auto& row : rows)
        EXPECT_EQ(GUIDFromString(row.text), row.expected) << row.name;
}

} // namespace
