#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace zv {

// One string of a language's table: its identifier and its text exactly as the window shows it
// (in control texts "&&" stands for one ampersand).
struct StringTableEntry {
    std::uint32_t id;
    std::u16string_view text;
};

// A language's table as written in the sources, before it is packed into counted blocks.
// `language` is the identifier the table is stored under.
struct StringTable {
    std::uint16_t language;
    std::span<const StringTableEntry> entries;
};

}  // namespace zv
