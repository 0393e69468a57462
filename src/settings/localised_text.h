#pragma once

#include <QString>

#include <cstdint>
#include <optional>

namespace zv {

// The string `id` in the selected language through the built-in tables, or nothing when no
// table has it (or its count is 0). Any thread; the buffer is local.
std::optional<QString> LocalisedText(std::uint32_t id);

}  // namespace zv
