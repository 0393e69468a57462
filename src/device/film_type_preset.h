#pragma once

#include <cstdint>

namespace zv {

// Film types: the film type slot's value, and what saved files are named after.
inline constexpr int kFilmTypeSlide = 0;
inline constexpr int kFilmTypeNegative = 1;
inline constexpr int kFilmTypeBlackWhite = 2;

// What choosing a film type loads: the film type, the roll value the scanner is given (black and
// white is processed by the scanner as a negative), the adjustments' defaults and the gamma.
struct FilmTypePreset {
    int filmType;
    std::int32_t roll;
    std::int32_t saturation;
    std::int32_t brightness;
    std::int32_t contrast;
    std::int32_t red;
    std::int32_t green;
    std::int32_t blue;
    std::int32_t gamma;
};

inline constexpr FilmTypePreset kSlidePreset{kFilmTypeSlide, 0, 45, 15, 45, 128, 128, 128, 300};
inline constexpr FilmTypePreset kNegativePreset{
    kFilmTypeNegative, 1, 55, 22, 70, 160, 110, 100, 400};
inline constexpr FilmTypePreset kBlackWhitePreset{
    kFilmTypeBlackWhite, 1, 0, -25, 50, 128, 128, 128, 400};

}  // namespace zv
