#include "resources/strings/string_tables.h"

#include "resources/strings/string_ids.h"
#include "settings/lang_id.h"
#include "settings/locale_environment.h"
#include "settings/selected_language.h"
#include "settings/string_lookup.h"

#include <QString>

#include <array>
#include <gtest/gtest.h>
#include <set>

namespace zv {
namespace {

// The text the program shows for `id` in `language`, or a null QString when none is found.
QString Shown(std::uint16_t language, std::uint32_t id) {
    SetSelectedLanguage(language);
    std::array<char16_t, kLocalisedStringBufferSize> buffer{};
    const int count = LoadLocalisedString(nullptr, id, buffer);
    return count == 0 ? QString() : QString::fromUtf16(buffer.data(), count);
}

TEST(StringTables, EveryTableHoldsEveryStringOfTheWindow) {
    for (const StringTable& table : BuiltInStringTables()) {
        std::set<std::uint32_t> ids;
        for (const StringTableEntry& entry : table.entries) {
            EXPECT_FALSE(entry.text.empty()) << table.language << " " << entry.id;
            ids.insert(entry.id);
        }
        std::set<std::uint32_t> expected;
        for (std::uint32_t id = ids::kFirst; id <= ids::kLast; ++id) {
            expected.insert(id);
        }
        EXPECT_EQ(ids, expected) << table.language;
        EXPECT_EQ(table.entries.size(), 24u) << table.language;
    }
}

// Each entry of the language combo reaches its own table for every string: the text shown is
// that table's text, through the exact or the primary-language match.
TEST(StringTables, EachComboLanguageReachesItsTable) {
    test::ScopedLocaleEnvironment environment(nullptr, nullptr, "pl_PL");
    const auto tables = BuiltInStringTables();
    for (std::size_t index = 0; index < kLanguageComboIds.size(); ++index) {
        EXPECT_EQ(PrimaryLangId(tables[index].language), PrimaryLangId(kLanguageComboIds[index]));
        for (const StringTableEntry& entry : tables[index].entries) {
            EXPECT_EQ(
                Shown(kLanguageComboIds[index], entry.id),
                QString::fromUtf16(entry.text.data(), static_cast<qsizetype>(entry.text.size())))
                << kLanguageComboIds[index] << " " << entry.id;
        }
    }
}

struct SpotCheck {
    std::uint16_t language;
    std::uint32_t id;
    const char* utf8;
};

// Texts as the window must show them, written here in UTF-8 and decoded by Qt: a second route
// to the same code units, so a source-encoding mistake in the tables shows up.
constexpr SpotCheck kSpotChecks[] = {
    {0x0409, 131, "Scan"},
    {0x0409, 144, "Black&&White"},
    {0x0409, 151, "Save image success"},
    {0x0409, 153, "Please plug in film scanner"},
    {0x0804, 137, "绿"},
    {0x0804, 141, "底片类型"},
    {0x0804, 153, "请连接扫描仪"},
    {0x0419, 131, "захват"},
    {0x0419, 144, "Черно-белый"},
    {0x0419, 153, "устройство не подключено"},
    {0x0407, 133, "Sättigung"},
    {0x0407, 146, "Bildgröße"},
    {0x0407, 153, "Bitte stecken Sie den Zevuvoraner ein"},
    {0x040C, 139, "Français"},
    {0x040C, 141, "Type d'image"},
    {0x040C, 152, "Échec de l'enregistrement de l'image"},
    {0x0410, 139, "Ripristina Predefiniti"},
    {0x0410, 145, "Risoluzione Dell'immagine"},
    {0x040A, 147, "Configuración de dispositivo"},
    {0x040A, 153, "Por favor conecte el escáner de película"},
    {0x0411, 138, "青い"},
    {0x0411, 151, "画像は保存されました"},
    {0x0411, 153, "スキャナーを接続してください"},
};

TEST(StringTables, SpotCheckedTexts) {
    test::ScopedLocaleEnvironment environment(nullptr, nullptr, "en_US");
    for (const SpotCheck& check : kSpotChecks) {
        EXPECT_EQ(Shown(check.language, check.id), QString::fromUtf8(check.utf8))
            << std::hex << check.language << std::dec << " " << check.id;
    }
}

}  // namespace
}  // namespace zv
