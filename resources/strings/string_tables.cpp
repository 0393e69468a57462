#include "resources/strings/string_tables.h"

namespace zv {

std::array<StringTable, 8> BuiltInStringTables() {
    return {EnglishStringTable(), ChineseStringTable(), RussianStringTable(),
            GermanStringTable(),  FrenchStringTable(),  ItalianStringTable(),
            SpanishStringTable(), JapaneseStringTable()};
}

}  // namespace zv
