#pragma once

#include <array>
#include <cstdint>

namespace zv {

// Language identifiers in the LANGID form: primary language in the low 10 bits, sublanguage in
// the high 6 bits.
constexpr std::uint16_t PrimaryLangId(std::uint16_t language) {
    return language & 0x3FF;
}
constexpr std::uint16_t SubLangId(std::uint16_t language) {
    return language >> 10;
}

inline constexpr std::uint16_t kLangEnglishUs = 0x0409;

// The identifier each entry of the language combo selects, by the entry's index: English,
// Chinese, Russian, German, French, Italian, Spanish, Japanese.
inline constexpr std::array<std::uint16_t, 8> kLanguageComboIds = {0x0409, 0x0804, 0x0419, 0x0407,
                                                                   0x040C, 0x0410, 0x040A, 0x0411};

}  // namespace zv
