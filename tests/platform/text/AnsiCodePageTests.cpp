#include "platform/text/AnsiCodePage.h"

#include <gtest/gtest.h>

namespace {

// Good text converts both ways unchanged, also outside the basic plane. In broken input
// (a stray continuation byte, a sequence cut at the end, an overlong form, an encoded
// surrogate, an unpaired surrogate) each bad unit stands for itself as a replacement
// character, and the good ones around it survive.
TEST(AnsiCodePage, ConvertsBothWaysAndReplacesOnlyWhatIsBroken) {
    const struct {
        const char* name;
        std::string ansi;
        std::u16string wide;
        bool roundTrip;
    } rows[] = {
        {"ascii", "Hello", u"Hello", true},
        {"latin", "Grüße", u"Gr\u00FC\u00DFe", true},
        {"chinese", "\xE7\x99\xBD\xE6\x97\xA5", u"\u767D\u65E5", true},
        {"outside the basic plane", "\xF0\x9F\x98\x80", u"\U0001F600", true},
        {"stray continuation byte", "a\200b", u"a\uFFFDb", false},
        {"cut at the end", "x\xE4\xBD", u"x\uFFFD\uFFFD", false},
        {"overlong", "\xC0\xAF", u"\uFFFD\uFFFD", false},
        {"encoded surrogate", "\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD", false},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(AnsiCodePage::ToWide(row.ansi), row.wide) << row.name;
        if (row.roundTrip) {
            EXPECT_EQ(AnsiCodePage::FromWide(row.wide).str(), row.ansi) << row.name;
        }
    }
    EXPECT_EQ(AnsiCodePage::FromWide(std::u16string(1, u'\xD800') + u"a").str(), "\357\277\275a");
    // Long texts are converted in bulk; nothing may go missing at a bulk's end.
    std::string longAnsi;
    for (int i = 0; i < 5000; ++i)
        longAnsi += "Gr\xC3\xBC\xC3\x9F\xF0\x9F\x98\x80 ";
    EXPECT_EQ(AnsiCodePage::FromWide(AnsiCodePage::ToWide(longAnsi)).str(), longAnsi);
    EXPECT_EQ(AnsiCodePage::ToWide(longAnsi).size(), 5000u * 7);
}

// A cache that names a text weakly sees the same text while it is held unchanged, and
// neither a changed nor a released one.
TEST(CString, AWeakReferenceNamesOnlyTheUnchangedTextWhileItIsHeld) {
    CString text("spoken");
    const CString::WeakRef named = text.Weak();
    EXPECT_TRUE(named.Refers(text));
    EXPECT_TRUE(named.Refers(CString(text)));
    EXPECT_FALSE(named.Refers(CString("spoken")));
    text += " again";
    EXPECT_FALSE(named.Refers(text));
    CString held("held");
    const CString::WeakRef released = held.Weak();
    held = "other";
    EXPECT_FALSE(released.Refers(held));
}

} // namespace
