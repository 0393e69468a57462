#pragma once

namespace zv {

// Registers the artwork built into the program (":/icons/..."). Call once before the first use;
// a static library's resources are not registered unless something refers to them.
void LoadBuiltInResources();

}  // namespace zv
