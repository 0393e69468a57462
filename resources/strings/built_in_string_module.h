#pragma once

#include "resources/strings/string_resource_module.h"

namespace zv {

// The string tables built into the program, packed into blocks on first use (thread-safe);
// the program's own module for the string lookup. English is added first.
const StringResourceModule& BuiltInStringModule();

}  // namespace zv
