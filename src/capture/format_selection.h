#pragma once

#include "capture/format_list.h"

namespace zv {

// Which pin a format is chosen for: the capture pin feeds the preview, the still pin the saved
// frame.
enum class PinRole { kCapture, kStill };

// Film size indices of the scanner window.
inline constexpr int kFilmSize135 = 0;
inline constexpr int kFilmSize126 = 1;

// The widest width a preview format may have and the narrowest a still format may have (a
// format exactly this wide is taken by neither).
inline constexpr int kPreviewStillWidthSplit = 1500;

// Walks `list` in capability order and returns the index of the first whole-VideoInfo type the
// rule takes for the film size and pin, or -1. Film size 135: preview non-square narrower than
// 1500, still non-square wider than 1500; 126: the first square type for both; other sizes take
// nothing. A VideoInfo type whose block is too short is skipped after the line
// "[i] not FORMAT_VideoInfo" on standard output; other format types are skipped silently.
int SelectFormat(const FormatList& list, int filmSizeIndex, PinRole role);

}  // namespace zv
