#include "platform/ole/GuidString.h"
#include "platform/ole/StandardIids.h"
#include "tests/platform/ole/automation/TestAutomationObject.h"

#include <gtest/gtest.h>

#include <cctype>

namespace {

TEST(GuidStringTest, WritesTheRegistryFormAndReadsItBackInEitherCase) {
    EXPECT_EQ(StringFromGUID(IID_IDispatch), "{00020400-0000-0000-C000-000000000046}");
    EXPECT_EQ(StringFromGUID(IID_ITestObject), "{6A0F3C11-52D4-4E0B-9B1E-3C7D21845A60}");
    for (const GUID& guid : {IID_IDispatch, IID_IUnknown, IID_ITestObject, CLSID_TestObject}) {
        const std::string text = StringFromGUID(guid);
        EXPECT_EQ(GUIDFromString(text), guid) << text;
        std::string lower = text;
        for (char& c : lower)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_EQ(GUIDFromString(lower), guid) << lower;
    }
}

TEST(GuidStringTest, RefusesAnythingElse) {
    struct Row {
        const char* name;
        const char* text;
    };
    const Row rows[] = {
        {"empty", ""},
        {"no braces", "00020400-0000-0000-C000-000000000046"},
        {"missing closing brace", "{00020400-0000-0000-C000-000000000046"},
        {"brace and blank", "{00020400-0000-0000-C000-000000000046} "},
        {"hyphen moved", "{0002040-00000-0000-C000-000000000046}"},
        {"no hyphens", "{00020400000000000C000000000000046xxx}"},
        {"not a hex digit", "{0002040G-0000-0000-C000-000000000046}"},
        {"sign", "{+0020400-0000-0000-C000-000000000046}"},
        {"one digit too many", "{00020400-0000-0000-C000-0000000000460}"},
        {"a name", "IMurmelo"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(GUIDFromString(row.text), std::nullopt) << row.name;
}

} // namespace
