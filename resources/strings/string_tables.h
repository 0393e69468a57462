#pragma once

#include "resources/strings/string_table.h"

#include <array>

namespace zv {

// The program's eight string tables, each under the identifier it is stored under: English under
// its full identifier, the others under their primary language with sublanguage 0.
StringTable EnglishStringTable();   // 0x0409
StringTable ChineseStringTable();   // 0x0004
StringTable RussianStringTable();   // 0x0019
StringTable GermanStringTable();    // 0x0007
StringTable FrenchStringTable();    // 0x000C
StringTable ItalianStringTable();   // 0x0010
StringTable SpanishStringTable();   // 0x000A
StringTable JapaneseStringTable();  // 0x0011

// All eight in the order of the language combo; English first.
std::array<StringTable, 8> BuiltInStringTables();

}  // namespace zv
