#pragma once

#include <cstdint>

namespace zv {

// The selected language: one identifier for the whole process, the language whose texts the
// window shows. Set at process start to the user's default language (InitUserDefaultLanguage)
// and afterwards only by the window's language combo. Read and written on the GUI thread; the
// value is atomic so that a read from elsewhere is still well defined.

// The selected language; the user's default language while nothing has set it.
std::uint16_t GetSelectedLanguage();
void SetSelectedLanguage(std::uint16_t language);

}  // namespace zv
