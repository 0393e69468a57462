#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace zv {

// Which control shows which localised string, in the order the texts are applied. The last row
// is the no-device label, whose text goes through the label's own SetText.
struct ControlText {
    std::uint32_t stringId;
    int controlId;
};

inline constexpr std::array<ControlText, 21> kControlTexts = {{
    {131, 3000}, {132, 3027}, {133, 3028}, {134, 3029}, {135, 3030}, {136, 3031}, {137, 3032},
    {138, 3033}, {139, 3022}, {140, 3023}, {141, 3024}, {142, 3003}, {143, 3004}, {144, 3005},
    {145, 3025}, {146, 3026}, {147, 3034}, {148, 1010}, {149, 1011}, {150, 3008}, {153, 1014},
}};

// The language combo's items, in the order of kLanguageComboIds.
inline constexpr std::array<std::string_view, 8> kLanguageComboItems = {
    "English", "Chinese", "Russian", "German", "French", "Italian", "Spanish", "Japanese"};

// The resolution radios' texts for a film size index (not localised); empty for the sizes that
// leave them as they are.
struct ResolutionTexts {
    std::string_view lower;
    std::string_view higher;
};

constexpr ResolutionTexts ResolutionTextsFor(int filmSizeIndex) {
    switch (filmSizeIndex) {
        case 0:
            return {"2592x1728", "5184x3456"};
        case 1:
            return {"1497x1497", "2995x2995"};
        default:
            return {};
    }
}

}  // namespace zv
