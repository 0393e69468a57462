#pragma once

#include "resources/strings/string_table.h"

#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <utility>
#include <vector>

namespace zv {

// A set of string tables in the counted-block form the lookup walks. Strings are grouped per
// language in blocks of 16: identifier n lies in block n / 16 + 1 at position n % 16. A block is
// 16 positions in a row, each a 16-bit count followed by that many UTF-16 code units, not
// zero-terminated; count 0 means no string. Every block a module holds is well formed (checked
// when it is added), so a reader may walk its 16 positions without further checks.
//
// Built once, then only read: a const module may be read from any thread.
class StringResourceModule {
public:
    static constexpr std::size_t kStringsPerBlock = 16;
    // The last identifier whose block number fits in 16 bits (block 0xFFFF, position 15).
    static constexpr std::uint32_t kMaxStringId = 0xFFFEF;
    static constexpr std::size_t kMaxStringLength = 0xFFFF;

    static constexpr std::uint32_t BlockOf(std::uint32_t id) { return id / kStringsPerBlock + 1; }
    static constexpr std::uint32_t PositionOf(std::uint32_t id) { return id % kStringsPerBlock; }

    // Packs a table into blocks under table.language; positions without a string get count 0.
    // Refused as a whole (false, nothing added) for an identifier above kMaxStringId, a text
    // longer than kMaxStringLength, an identifier given twice, or a block the language already
    // holds.
    bool AddTable(const StringTable& table);

    // Adds one block as raw counted data. Refused when the block number is 0, the language
    // already holds the block, or the data is not exactly 16 counted positions.
    bool AddBlock(std::uint16_t language, std::uint16_t block, std::vector<char16_t> data);

    // The block stored under exactly this language, or an empty span.
    std::span<const char16_t> Find(std::uint16_t block, std::uint16_t language) const;

    // The languages that hold at least one block, in the order their first block was added.
    const std::vector<std::uint16_t>& Languages() const { return m_languages; }

private:
    static bool IsWellFormedBlock(std::span<const char16_t> data);
    void Insert(std::uint16_t language, std::uint16_t block, std::vector<char16_t> data);

    // (language, block number) -> counted block data.
    std::map<std::pair<std::uint16_t, std::uint16_t>, std::vector<char16_t>> m_blocks;
    std::vector<std::uint16_t> m_languages;
};

}  // namespace zv
