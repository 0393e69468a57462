#include "settings/string_lookup.h"

#include "settings/last_error.h"
#include "settings/locale_environment.h"
#include "settings/selected_language.h"

#include <algorithm>
#include <array>
#include <gtest/gtest.h>
#include <string>
#include <thread>

namespace zv {
namespace {

using Buffer = std::array<char16_t, kLocalisedStringBufferSize>;
constexpr char16_t kUntouched = u'\xFFFE';

Buffer FreshBuffer() {
    Buffer buffer;
    buffer.fill(kUntouched);
    return buffer;
}

// What the lookup gives for `id`: the text, or nullopt when it returns 0.
std::optional<std::u16string> Load(const StringResourceModule& module, std::uint32_t id) {
    Buffer buffer = FreshBuffer();
    const int count = LoadLocalisedString(&module, id, buffer);
    if (count == 0) {
        EXPECT_TRUE(std::all_of(buffer.begin(), buffer.end(), [](char16_t c) {
            return c == kUntouched;
        })) << "a string that is not found leaves the buffer untouched";
        return std::nullopt;
    }
    EXPECT_EQ(buffer[static_cast<std::size_t>(count)], u'\0');
    return std::u16string(buffer.data(), static_cast<std::size_t>(count));
}

// Tables that lack blocks or positions on purpose. Block 9 holds 131 to 143, block 10 holds 144
// to 159.
const StringTableEntry kEnglish[] = {{131, u"Scan"}, {139, u"Default"}, {144, u"Black&&White"}};
const StringTableEntry kGermanBlock9Only[] = {{131, u"Bild Aufnehmen"}};  // no 139, no block 10
const StringTableEntry kSwissBlock10Only[] = {{144, u"Schwarz-Weiss (CH)"}};
const StringTableEntry kJapanese[] = {{131, u"撮影"}, {139, u"デフォルト"}, {144, u"黒白"}};

StringResourceModule OrderTestModule() {
    StringResourceModule module;
    EXPECT_TRUE(module.AddTable({0x0007, kGermanBlock9Only}));
    EXPECT_TRUE(module.AddTable({0x0409, kEnglish}));
    EXPECT_TRUE(module.AddTable({0x0807, kSwissBlock10Only}));
    EXPECT_TRUE(module.AddTable({0x0011, kJapanese}));
    return module;
}

struct OrderCase {
    const char* what;
    std::uint16_t selected;
    const char* userLocale;  // gives the user's default language
    std::uint32_t id;
    std::optional<std::u16string> expected;
};

class LookupOrder : public testing::TestWithParam<OrderCase> {};

TEST_P(LookupOrder, ResolvesPerBlock) {
    const OrderCase& c = GetParam();
    test::ScopedLocaleEnvironment environment(nullptr, nullptr, c.userLocale);
    SetSelectedLanguage(c.selected);
    const StringResourceModule module = OrderTestModule();
    EXPECT_EQ(Load(module, c.id), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    StringLookup, LookupOrder,
    testing::Values(
        OrderCase{"primary language match", 0x0C07, "en_US", 131, u"Bild Aufnehmen"},
        OrderCase{"held block, empty position: not taken elsewhere", 0x0407, "ja_JP", 139,
                  std::nullopt},
        OrderCase{"block missing: user default", 0x0407, "ja_JP", 144, u"黒白"},
        OrderCase{"block missing: user default English", 0x0407, "en_US", 144, u"Black&&White"},
        OrderCase{"exact before primary", 0x0807, "en_US", 144, u"Schwarz-Weiss (CH)"},
        OrderCase{"exact lacks block: primary", 0x0807, "ja_JP", 131, u"Bild Aufnehmen"},
        OrderCase{"selected exact before user default", 0x0409, "de_DE", 131, u"Scan"},
        OrderCase{"no table for either: user default", 0x0415, "ja_JP", 131, u"撮影"},
        OrderCase{"same language, no table: neutral is English", 0x0415, "pl_PL", 131, u"Scan"},
        OrderCase{"en_GB has no table of its own", 0x0809, "de_AT", 131, u"Bild Aufnehmen"},
        OrderCase{"user default primary match", 0x0415, "de_CH", 131, u"Bild Aufnehmen"},
        OrderCase{"nobody holds the block", 0x0409, "en_US", 200, std::nullopt}));

TEST(StringLookup, NeutralLookupWithoutEnglishTakesTheFirstTableAdded) {
    const StringTableEntry french[] = {{131, u"Prendre une image"}};
    const StringTableEntry japanese[] = {{131, u"撮影"}, {144, u"黒白"}};
    StringResourceModule module;
    ASSERT_TRUE(module.AddTable({0x000C, french}));
    ASSERT_TRUE(module.AddTable({0x0011, japanese}));
    test::ScopedLocaleEnvironment environment(nullptr, nullptr, "pl_PL");
    EXPECT_EQ(Load(module, 131), u"Prendre une image");
    EXPECT_EQ(Load(module, 144), u"黒白");
}

TEST(StringLookup, BlockNumbersOutsideSixteenBitsFindNothing) {
    test::ScopedLocaleEnvironment environment(nullptr, nullptr, "en_US");
    EXPECT_FALSE(FindStringBlock(nullptr, 9).empty());
    EXPECT_TRUE(FindStringBlock(nullptr, 0).empty());
    EXPECT_TRUE(FindStringBlock(nullptr, 0x10009).empty()) << "must not wrap round to block 9";
}

TEST(StringLookup, NullModuleIsTheProgramsOwnTables) {
    test::ScopedLocaleEnvironment environment(nullptr, nullptr, "en_US");
    Buffer buffer = FreshBuffer();
    ASSERT_EQ(LoadLocalisedString(nullptr, 153, buffer), 27);
    EXPECT_EQ(std::u16string(buffer.data()), u"Please plug in film scanner");
}

TEST(StringLookup, LongStringsAreCutAt259Units) {
    struct Case {
        std::size_t length;
        int copied;
    };
    for (const Case& c : {Case{1, 1}, Case{258, 258}, Case{259, 259}, Case{260, 259},
                          Case{300, 259}, Case{0xFFFF, 259}}) {
        std::u16string text(c.length, u'a');
        for (std::size_t i = 0; i < text.size(); ++i) {
            text[i] = static_cast<char16_t>(u'A' + i % 26);
        }
        const StringTableEntry entries[] = {{131, text}};
        StringResourceModule module;
        ASSERT_TRUE(module.AddTable({0x0409, entries}));
        test::ScopedLocaleEnvironment environment(nullptr, nullptr, "en_US");

        Buffer buffer = FreshBuffer();
        ASSERT_EQ(LoadLocalisedString(&module, 131, buffer), c.copied) << c.length;
        const auto copied = static_cast<std::size_t>(c.copied);
        EXPECT_EQ(std::u16string(buffer.data(), copied), text.substr(0, copied));
        EXPECT_EQ(buffer[copied], u'\0');
        EXPECT_TRUE(std::all_of(buffer.begin() + static_cast<std::ptrdiff_t>(copied) + 1,
                                buffer.end(), [](char16_t u) { return u == kUntouched; }))
            << c.length;
    }
}

TEST(StringLookup, IdentifiersBeyondTheLastBlockFailWith1814) {
    // The last identifier of block 0xFFFF is still looked up; every one above it is refused.
    std::vector<char16_t> block(16, 0);
    block.insert(block.end(), {u'e', u'n', u'd'});
    block[15] = 3;
    StringResourceModule module;
    ASSERT_TRUE(module.AddBlock(0x0409, 0xFFFF, block));
    test::ScopedLocaleEnvironment environment(nullptr, nullptr, "en_US");

    struct Case {
        std::uint32_t id;
        std::optional<std::u16string> text;
        std::uint32_t lastError;
    };
    for (const Case& c :
         {Case{0xFFFEF, u"end", 0}, Case{0xFFFF0, std::nullopt, 1814},
          Case{0xFFFFF, std::nullopt, 1814}, Case{0x100000, std::nullopt, 1814},
          Case{0xFFFFFFEF, std::nullopt, 1814}, Case{0xFFFFFFF0, std::nullopt, 1814},
          Case{0xFFFFFFFF, std::nullopt, 1814}}) {
        SetLastError(0);
        EXPECT_EQ(Load(module, c.id), c.text) << std::hex << c.id;
        EXPECT_EQ(GetLastError(), c.lastError) << std::hex << c.id;
    }
}

TEST(StringLookup, LastErrorIsKeptPerThread) {
    SetLastError(7);
    std::uint32_t before = 99;
    std::uint32_t after = 0;
    std::thread worker([&] {
        before = GetLastError();
        Buffer buffer = FreshBuffer();
        EXPECT_EQ(LoadLocalisedString(nullptr, 0xFFFF0, buffer), 0);
        after = GetLastError();
    });
    worker.join();
    EXPECT_EQ(before, 0u) << "a new thread starts with no error";
    EXPECT_EQ(after, kErrorResourceNameNotFound);
    EXPECT_EQ(GetLastError(), 7u) << "another thread's failure does not reach this one";
}

}  // namespace
}  // namespace zv
