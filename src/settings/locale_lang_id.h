#pragma once

#include <cstdint>
#include <string_view>

namespace zv {

// Maps a POSIX locale name "language[_territory][.codeset][@modifier]" to a language identifier.
// The codeset and the modifier are ignored; case does not matter and "-" may stand for "_".
// A known language with a territory not listed gets the language's default (so does a language
// given without territory); "C", "POSIX", empty and unknown names give English (0x0409).
std::uint16_t LangIdFromLocale(std::string_view locale);

}  // namespace zv
