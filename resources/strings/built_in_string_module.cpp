#include "resources/strings/built_in_string_module.h"

#include "resources/strings/string_tables.h"

#include <cstdlib>

namespace zv {

namespace {

StringResourceModule BuildModule() {
    StringResourceModule module;
    for (const StringTable& table : BuiltInStringTables()) {
        if (!module.AddTable(table)) {
            // The tables are compiled in; a refused one is a mistake in their sources.
            std::abort();
        }
    }
    return module;
}

}  // namespace

const StringResourceModule& BuiltInStringModule() {
    static const StringResourceModule module = BuildModule();
    return module;
}

}  // namespace zv
