#include "resources/strings/string_resource_module.h"

#include "resources/strings/built_in_string_module.h"
#include "resources/strings/string_tables.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace zv {
namespace {

// The counts of a block's 16 positions and their texts, read by walking the raw data.
struct WalkedBlock {
    std::vector<std::size_t> counts;
    std::vector<std::u16string> texts;
    std::size_t consumed = 0;
};

WalkedBlock Walk(std::span<const char16_t> data) {
    WalkedBlock walked;
    std::size_t at = 0;
    while (at < data.size()) {
        const std::size_t count = data[at];
        walked.counts.push_back(count);
        walked.texts.emplace_back(data.begin() + at + 1, data.begin() + at + 1 + count);
        at += 1 + count;
    }
    walked.consumed = at;
    return walked;
}

TEST(StringBlockLayout, EnglishBlocksHoldTheStringsAtTheirPositions) {
    const StringResourceModule& module = BuiltInStringModule();
    // Block 9 covers identifiers 128 to 143: 131 is at position 3.
    const WalkedBlock block9 = Walk(module.Find(9, 0x0409));
    ASSERT_EQ(block9.counts.size(), 16u);
    EXPECT_EQ((std::vector<std::size_t>{0, 0, 0, 4, 6, 10, 10, 8, 1, 1, 1, 7, 6, 9, 5, 8}),
              block9.counts);
    EXPECT_EQ(block9.texts[3], u"Scan");
    EXPECT_EQ(block9.texts[15], u"Negative");
    // Block 10 covers 144 to 159: 144 at position 0, 153 at 9, 154 at 10, nothing after.
    const WalkedBlock block10 = Walk(module.Find(10, 0x0409));
    ASSERT_EQ(block10.counts.size(), 16u);
    EXPECT_EQ(block10.texts[0], u"Black&&White");
    EXPECT_EQ(block10.texts[9], u"Please plug in film scanner");
    EXPECT_EQ(block10.texts[10], u"Scan when the frame settles");
    for (std::size_t position = 11; position < 16; ++position) {
        EXPECT_EQ(block10.counts[position], 0u) << position;
    }
}

TEST(StringBlockLayout, EveryTableIsStoredUnderItsIdentifierInBlocksNineAndTen) {
    const StringResourceModule& module = BuiltInStringModule();
    EXPECT_EQ(module.Languages(), (std::vector<std::uint16_t>{0x0409, 0x0004, 0x0019, 0x0007,
                                                              0x000C, 0x0010, 0x000A, 0x0011}));
    for (std::uint16_t language : module.Languages()) {
        for (std::uint16_t block : {1, 8, 11, 0xFFFF}) {
            EXPECT_TRUE(module.Find(static_cast<std::uint16_t>(block), language).empty())
                << language << " block " << block;
        }
        for (std::uint16_t block : {9, 10}) {
            const auto data = module.Find(block, language);
            const WalkedBlock walked = Walk(data);
            EXPECT_EQ(walked.counts.size(), 16u) << language;
            EXPECT_EQ(walked.consumed, data.size()) << language;
        }
    }
    // Only English is stored under a full identifier.
    EXPECT_TRUE(module.Find(9, 0x0407).empty());
    EXPECT_TRUE(module.Find(9, 0x0009).empty());
}

TEST(StringResourceModuleTest, BlockNumbersAndPositions) {
    struct Case {
        std::uint32_t id;
        std::uint32_t block;
        std::uint32_t position;
    };
    for (const Case& c :
         {Case{0, 1, 0}, Case{15, 1, 15}, Case{16, 2, 0}, Case{131, 9, 3}, Case{143, 9, 15},
          Case{144, 10, 0}, Case{153, 10, 9}, Case{0xFFFEF, 0xFFFF, 15}}) {
        EXPECT_EQ(StringResourceModule::BlockOf(c.id), c.block) << c.id;
        EXPECT_EQ(StringResourceModule::PositionOf(c.id), c.position) << c.id;
    }
}

TEST(StringResourceModuleTest, RefusedTablesAddNothing) {
    const std::u16string tooLong(0x10000, u'x');
    const StringTableEntry outOfRange[] = {{131, u"a"}, {0xFFFF0, u"b"}};
    const StringTableEntry twice[] = {{131, u"a"}, {140, u"b"}, {131, u"c"}};
    const StringTableEntry longText[] = {{131, u"a"}, {132, tooLong}};
    for (const StringTable& table : {StringTable{0x0007, outOfRange}, StringTable{0x0007, twice},
                                     StringTable{0x0007, longText}}) {
        StringResourceModule module;
        EXPECT_FALSE(module.AddTable(table));
        EXPECT_TRUE(module.Find(9, 0x0007).empty());
        EXPECT_TRUE(module.Languages().empty());
    }
}

TEST(StringResourceModuleTest, SecondTableForTheSameBlockIsRefused) {
    StringResourceModule module;
    const StringTableEntry first[] = {{131, u"Scan"}};
    const StringTableEntry second[] = {{150, u"Browse"}, {132, u"Adjust"}};
    ASSERT_TRUE(module.AddTable({0x0409, first}));
    EXPECT_FALSE(module.AddTable({0x0409, second}));
    EXPECT_TRUE(module.Find(10, 0x0409).empty()) << "a refused table adds none of its blocks";
    EXPECT_TRUE(module.AddTable({0x0809, second})) << "another language may hold the block";
}

TEST(StringResourceModuleTest, LongestCountableTextIsKept) {
    const std::u16string longest(0xFFFF, u'y');
    const StringTableEntry entries[] = {{0xFFFEF, longest}};
    StringResourceModule module;
    ASSERT_TRUE(module.AddTable({0x0409, entries}));
    const WalkedBlock walked = Walk(module.Find(0xFFFF, 0x0409));
    ASSERT_EQ(walked.counts.size(), 16u);
    EXPECT_EQ(walked.counts[15], 0xFFFFu);
}

TEST(StringResourceModuleTest, RawBlocksMustBeSixteenCountedPositions) {
    std::vector<char16_t> good(16, 0);
    good[3] = 2;
    good.insert(good.begin() + 4, {u'o', u'k'});

    struct Case {
        const char* what;
        std::uint16_t block;
        std::vector<char16_t> data;
        bool accepted;
    };
    std::vector<char16_t> trailing = good;
    trailing.push_back(u'!');
    std::vector<char16_t> countPastEnd = good;
    countPastEnd.back() = 5;
    const Case cases[] = {
        {"well formed", 9, good, true},
        {"block 0", 0, good, false},
        {"empty", 9, {}, false},
        {"fifteen positions", 9, std::vector<char16_t>(15, 0), false},
        {"data after position 15", 9, trailing, false},
        {"count runs past the end", 9, countPastEnd, false},
    };
    for (const Case& c : cases) {
        StringResourceModule module;
        EXPECT_EQ(module.AddBlock(0x0409, c.block, c.data), c.accepted) << c.what;
        EXPECT_EQ(!module.Find(c.block, 0x0409).empty(), c.accepted) << c.what;
    }
    StringResourceModule module;
    ASSERT_TRUE(module.AddBlock(0x0409, 9, good));
    EXPECT_FALSE(module.AddBlock(0x0409, 9, good)) << "the block is held already";
}

}  // namespace
}  // namespace zv
