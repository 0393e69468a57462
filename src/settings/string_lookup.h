#pragma once

#include "resources/strings/string_resource_module.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace zv {

// Room for the longest string the lookup copies (259 UTF-16 code units) and its terminating zero.
inline constexpr std::size_t kLocalisedStringBufferSize = 260;
inline constexpr std::size_t kMaxLocalisedStringLength = kLocalisedStringBufferSize - 1;

// The counted data of one string block (16 positions, each a 16-bit count and that many UTF-16
// code units), or an empty span when no language holds the block. `module` null means the
// program's own tables (BuiltInStringModule). The language is resolved per block, in this order:
//   1. the selected language: the table stored under exactly it, else under its primary
//      language with sublanguage 0;
//   2. the user's default language (read afresh on every call) in the same way, when it differs
//      from the selected language;
//   3. the language-neutral lookup: the English table (0x0409), else the first table added to
//      the module that holds the block.
// The span stays valid as long as the module lives. Called on the GUI thread.
std::span<const char16_t> FindStringBlock(const StringResourceModule* module, std::uint32_t block);

// Copies string `id` into `buffer`: at most 259 code units (a longer string is cut without any
// report) followed by a zero; returns the number of code units copied. Returns 0 and leaves
// the buffer untouched when no block is found or the string's count is 0 (the string is then
// not taken from another language). An identifier above 0xFFFEF, whose block number does not
// fit in 16 bits, returns 0 and sets the calling thread's last-error code to 1814
// (kErrorResourceNameNotFound). Called on the GUI thread.
int LoadLocalisedString(const StringResourceModule* module, std::uint32_t id,
                        std::span<char16_t, kLocalisedStringBufferSize> buffer);

}  // namespace zv
