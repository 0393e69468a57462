#pragma once

#include "platform/status.h"

namespace zv {

// The still frame is not a whole image the decoder can read: not JPEG, damaged, cut short, or
// larger than any still the writer accepts. The number is the image codecs' "bad image" code.
inline constexpr Status kBadImage = MakeStatus(0x88982F60);

// A folder name that was not valid UTF-8 and so reached the program altered: writing there would
// use another folder. The system's "no mapping for the Unicode character" code; no errno has its
// low bits (1113).
inline constexpr Status kNoUnicodeTranslation = MakeStatus(0x80070459);

}  // namespace zv
