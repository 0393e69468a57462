#include "settings/localised_text.h"

#include "settings/string_lookup.h"

#include <array>

namespace zv {

std::optional<QString> LocalisedText(std::uint32_t id) {
    std::array<char16_t, kLocalisedStringBufferSize> buffer{};
    const int count = LoadLocalisedString(nullptr, id, buffer);
    if (count == 0) {
        return std::nullopt;
    }
    return QString::fromUtf16(buffer.data(), count);
}

}  // namespace zv
