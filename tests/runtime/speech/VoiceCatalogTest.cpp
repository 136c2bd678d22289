#include "runtime/speech/VoiceCatalog.h"
#include "platform/text/AnsiCodePage.h"
#include "runtime/speech/EspeakEngine.h"
#include "runtime/speech/VoiceCheckCache.h"
#include "runtime/speech/WideTextPieces.h"

#include "tests/support/ScopedEnvironmentVariable.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

// The voices' identifiers, each followed by a blank.
std::string IdentifiersOf(const std::vector<VoiceInfo>& voices) {
    std::string identifiers;
    for (const VoiceInfo& voice : voices)
        identifiers += voice.identifier + " ";
    return identifiers;
}

// The engines' order: eSpeak NG's, which starts with Afrikaans, then Flite's.
const std::vector<VoiceInfo> kListed = {
    {"gmw/af", "Afrikaans", {"af"}},
    {"sit/cmn", "Chinese (Mandarin)", {"cmn", "zh-cmn", "zh"}},
    {"gmw/en", "English (Great Britain)", {"en-gb", "en"}},
    {"gmw/en-US", "English (America)", {"en-us", "en"}},
    {"roa/fr", "French", {"fr-fr", "fr"}},
    {"gmw/en-GB-scotland", "English (Scotland)", {"en-gb-scotland", "en"}},
    {"flite/slt", "slt", {"en-us", "en"}, Naturalness::Natural},
    {"flite/awb", "awb", {"en-us", "en"}, Naturalness::Natural},
    {"flite/rms", "rms", {"en-us", "en"}, Naturalness::Natural},
    {"flite/kal16", "kal16", {"en-us", "en"}, Naturalness::Plain},
    {"flite/kal", "kal", {"en-us", "en"}, Naturalness::Plain}};

// In the user's language the natural voices come first and the plain ones last, each kind
// with the language itself before its other variants; then the rest as listed.
TEST(VoiceCatalog, TheUsersLanguageComesFirstMostNaturalFirstThenTheRestAsListed) {
    const std::pair<const char*, const char*> cases[] = {
        {"en-us", "flite/slt flite/awb flite/rms gmw/en-US gmw/en gmw/en-GB-scotland flite/kal16 "
                  "flite/kal gmw/af sit/cmn roa/fr "},
        {"en-gb", "flite/slt flite/awb flite/rms gmw/en gmw/en-US gmw/en-GB-scotland flite/kal16 "
                  "flite/kal gmw/af sit/cmn roa/fr "},
        {"zh-cn", "sit/cmn gmw/af gmw/en gmw/en-US roa/fr gmw/en-GB-scotland flite/slt flite/awb "
                  "flite/rms flite/kal16 flite/kal "}};
    for (const auto& [language, order] : cases)
        EXPECT_EQ(IdentifiersOf(VoiceCatalog::InLanguageOrder(kListed, language)), order);
}

TEST(VoiceCatalog, TheLanguageComesFromTheFirstLocaleVariableSet) {
    const struct {
        const char *lcAll, *lcMessages, *lang, *language;
    } cases[] = {
        {nullptr, nullptr, "en_US.UTF-8", "en-us"}, {"", "pt_BR.UTF-8", "en_US.UTF-8", "pt-br"},
        {"de_DE@euro", "pt_BR", "en_US", "de-de"},  {nullptr, nullptr, "C.UTF-8", "en"},
        {"POSIX", nullptr, nullptr, "en"},          {nullptr, nullptr, nullptr, "en"}};
    const auto value = [](const char* text) {
        return text ? std::optional<std::string>(text) : std::nullopt;
    };
    for (const auto& entry : cases) {
        const ScopedEnvironmentVariable lcAll("LC_ALL", value(entry.lcAll));
        const ScopedEnvironmentVariable lcMessages("LC_MESSAGES", value(entry.lcMessages));
        const ScopedEnvironmentVariable lang("LANG", value(entry.lang));
        EXPECT_EQ(VoiceCatalog::UserLanguage(), entry.language) << entry.language;
    }
}

// A list stored for the installed voices is used without a check; one stored for other
// voices is checked again and replaced. A cache that cannot be written (its folder is a
// file) costs only the check.
TEST(VoiceCheckCache, AListStoredForTheInstalledVoicesIsUsedAndAnyOtherCheckedAgain) {
    EspeakEngine engine;
    ASSERT_TRUE(engine.IsReady());
    const VoiceCheckCache cache(std::filesystem::current_path() / "cache");
    const std::vector<VoiceInfo> stored = {{"gmw/af", "Only Afrikaans", {"af"}}};
    cache.Store(VoiceCheckCache::CurrentKey(), stored);
    EXPECT_EQ(IdentifiersOf(EspeakEngine::CheckedVoices(cache)), "gmw/af ");
    cache.Store("another eSpeak NG", stored);
    const std::vector<VoiceInfo> checked = EspeakEngine::CheckedVoices(cache);
    EXPECT_GT(checked.size(), 10u);
    const auto replaced = cache.Load(VoiceCheckCache::CurrentKey());
    ASSERT_TRUE(replaced);
    EXPECT_EQ(IdentifiersOf(*replaced), IdentifiersOf(checked));
    std::ofstream(std::filesystem::current_path() / "file");
    const VoiceCheckCache unusable(std::filesystem::current_path() / "file");
    EXPECT_EQ(IdentifiersOf(EspeakEngine::CheckedVoices(unusable)), IdentifiersOf(checked));
}

// A long text reaches the engines in pieces that together are the whole text, each but
// the last ending at a sentence end, and a character beyond the basic plane is never cut
// in two, wherever the pieces fall.
TEST(WideTextPieces, TheWholeTextArrivesInPiecesCutAtSentenceEnds) {
    std::u16string text;
    for (int i = 0; i < 20000; ++i)
        text += u"A sentence \U0001F600 ends here. ";
    std::vector<std::string> pieces;
    WideTextPieces source(text);
    for (std::string_view piece = source.Next(); !piece.empty(); piece = source.Next())
        pieces.emplace_back(piece);
    ASSERT_GT(pieces.size(), 4u);
    std::string joined;
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        joined += pieces[i];
        EXPECT_TRUE(pieces[i].ends_with(". ")) << "piece " << i;
    }
    EXPECT_EQ(joined, AnsiCodePage::FromWide(text).str());
    // A text without sentence ends is still spoken whole, with the halves of a character
    // never split between two pieces.
    std::u16string unbroken = u"x";
    for (int i = 0; i < 100000; ++i)
        unbroken += u"\U0001F600";
    WideTextPieces plain(unbroken);
    joined.clear();
    for (std::string_view piece = plain.Next(); !piece.empty(); piece = plain.Next())
        joined += piece;
    EXPECT_EQ(joined, AnsiCodePage::FromWide(unbroken).str());
}

} // namespace
