#pragma once

#include "platform/status.h"

namespace zv {

// The still frame is not a whole image the decoder can read: not JPEG, damaged, cut short, or
// larger than any still the writer accepts. The number is the image codecs' "bad image" code.
inline constexpr Status kBadImage = MakeStatus(0x88982F60);

}  // namespace zv
