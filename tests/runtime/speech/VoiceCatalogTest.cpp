#include "runtime/speech/VoiceCatalog.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

std::vector<std::string> IdentifiersOf(const std::vector<VoiceInfo>& voices) {
    std::vector<std::string> identifiers;
    for (const VoiceInfo& voice : voices)
        identifiers.push_back(voice.identifier);
    return identifiers;
}

// eSpeak NG's own order, which starts with Afrikaans.
const std::vector<VoiceInfo> kListed = {
    {"gmw/af", "Afrikaans", {"af"}},
    {"sit/cmn", "Chinese (Mandarin)", {"cmn", "zh-cmn", "zh"}},
    {"gmw/en", "English (Great Britain)", {"en-gb", "en"}},
    {"gmw/en-US", "English (America)", {"en-us", "en"}},
    {"roa/fr", "French", {"fr-fr", "fr"}},
    {"gmw/en-GB-scotland", "English (Scotland)", {"en-gb-scotland", "en"}},
};

struct LanguageCase {
    const char* language;
    std::vector<std::string> order;
};

TEST(VoiceCatalog, TheUsersLanguageComesFirstThenItsOtherVariantsThenTheRestAsListed) {
    const LanguageCase cases[] = {
        {"en-us", {"gmw/en-US", "gmw/en", "gmw/en-GB-scotland", "gmw/af", "sit/cmn", "roa/fr"}},
        {"zh-cn", {"sit/cmn", "gmw/af", "gmw/en", "gmw/en-US", "roa/fr", "gmw/en-GB-scotland"}},
    };
    for (const LanguageCase& entry : cases) {
        EXPECT_EQ(IdentifiersOf(VoiceCatalog::InLanguageOrder(kListed, entry.language)),
                  entry.order)
            << entry.language;
    }
}

struct LocaleCase {
    const char* lcAll;
    const char* lcMessages;
    const char* lang;
    const char* language;
};

TEST(VoiceCatalog, TheLanguageComesFromTheFirstLocaleVariableSet) {
    const LocaleCase cases[] = {
        {nullptr, nullptr, "en_US.UTF-8", "en-us"}, {"", "pt_BR.UTF-8", "en_US.UTF-8", "pt-br"},
        {"de_DE@euro", "pt_BR", "en_US", "de-de"},  {nullptr, nullptr, "C.UTF-8", "en"},
        {"POSIX", nullptr, nullptr, "en"},          {nullptr, nullptr, nullptr, "en"},
    };
    for (const LocaleCase& entry : cases) {
        const std::pair<const char*, const char*> variables[] = {
            {"LC_ALL", entry.lcAll}, {"LC_MESSAGES", entry.lcMessages}, {"LANG", entry.lang}};
        for (const auto& [name, value] : variables) {
            if (value)
                setenv(name, value, 1);
            else
                unsetenv(name);
        }
        EXPECT_EQ(VoiceCatalog::UserLanguage(), entry.language) << entry.language;
    }
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    unsetenv("LANG");
}

} // namespace
