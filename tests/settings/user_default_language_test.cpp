#include "settings/user_default_language.h"

#include "resources/strings/string_ids.h"
#include "resources/strings/string_tables.h"
#include "settings/locale_environment.h"
#include "settings/selected_language.h"
#include "settings/string_lookup.h"

#include <array>
#include <gtest/gtest.h>
#include <string>

namespace zv {
namespace {

struct EnvironmentCase {
    const char* lcAll;  // nullptr: unset
    const char* lcMessages;
    const char* lang;
    std::uint16_t langId;
    StringTable (*table)();  // the table every text must come from
};

class UserDefaultLanguage : public testing::TestWithParam<EnvironmentCase> {};

TEST_P(UserDefaultLanguage, TakenFromTheEnvironmentInPosixOrder) {
    const EnvironmentCase& c = GetParam();
    test::ScopedLocaleEnvironment environment(c.lcAll, c.lcMessages, c.lang);
    EXPECT_EQ(GetUserDefaultLangID(), c.langId);
    EXPECT_EQ(GetSelectedLanguage(), c.langId) << "the selected language starts as the default";
}

TEST_P(UserDefaultLanguage, EveryTextComesFromTheLanguagesTable) {
    const EnvironmentCase& c = GetParam();
    test::ScopedLocaleEnvironment environment(c.lcAll, c.lcMessages, c.lang);
    const StringTable table = c.table();
    for (const StringTableEntry& entry : table.entries) {
        std::array<char16_t, kLocalisedStringBufferSize> buffer{};
        const int count = LoadLocalisedString(nullptr, entry.id, buffer);
        EXPECT_EQ(std::u16string_view(buffer.data(), static_cast<std::size_t>(count)), entry.text)
            << entry.id;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Locales, UserDefaultLanguage,
    testing::Values(
        // Primary-language match of the German table.
        EnvironmentCase{nullptr, nullptr, "de_AT.UTF-8", 0x0C07, GermanStringTable},
        // No Polish table: the language-neutral lookup gives English.
        EnvironmentCase{nullptr, nullptr, "pl_PL.UTF-8", 0x0415, EnglishStringTable},
        EnvironmentCase{nullptr, nullptr, "zh_TW.UTF-8", 0x0404, ChineseStringTable},
        EnvironmentCase{nullptr, nullptr, "C", 0x0409, EnglishStringTable},
        EnvironmentCase{nullptr, nullptr, nullptr, 0x0409, EnglishStringTable},
        EnvironmentCase{"fr_CA.UTF-8", nullptr, "de_DE.UTF-8", 0x0C0C, FrenchStringTable},
        EnvironmentCase{"ru_RU.UTF-8", "ja_JP.UTF-8", "de_DE.UTF-8", 0x0419, RussianStringTable},
        EnvironmentCase{nullptr, "ja_JP.UTF-8", "de_DE.UTF-8", 0x0411, JapaneseStringTable},
        EnvironmentCase{"", "es_MX.UTF-8", "de_DE.UTF-8", 0x080A, SpanishStringTable},
        EnvironmentCase{"", "", "it_IT.UTF-8", 0x0410, ItalianStringTable},
        EnvironmentCase{"", "", "", 0x0409, EnglishStringTable},
        EnvironmentCase{"C", nullptr, "de_DE.UTF-8", 0x0409, EnglishStringTable}));

TEST(UserMessagesLocale, FirstSetAndNonEmptyVariable) {
    test::ScopedLocaleEnvironment environment("", "nl_BE.UTF-8", "de_DE.UTF-8");
    EXPECT_EQ(UserMessagesLocale(), "nl_BE.UTF-8");
}

TEST(SelectedLanguage, ChangingItDoesNotChangeTheUserDefault) {
    test::ScopedLocaleEnvironment environment(nullptr, nullptr, "de_AT.UTF-8");
    SetSelectedLanguage(0x040A);
    EXPECT_EQ(GetSelectedLanguage(), 0x040A);
    EXPECT_EQ(GetUserDefaultLangID(), 0x0C07);
    std::array<char16_t, kLocalisedStringBufferSize> buffer{};
    const int count = LoadLocalisedString(nullptr, ids::kScan, buffer);
    EXPECT_EQ(std::u16string_view(buffer.data(), static_cast<std::size_t>(count)), u"Tomar Imagen");
}

}  // namespace
}  // namespace zv
