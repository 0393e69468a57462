#pragma once

#include "platform/status.h"

#include <QString>

#include <cstdint>

namespace zv {

// Turns one still frame, as the scanner delivered it, into the output file: decodes the frame (a
// whole JPEG or motion-JPEG image), cuts the band of the target's aspect ratio out of it (see
// SourceBand), draws the band onto the whole target with plain bilinear interpolation and writes
// the picture as a JPEG of quality 100 with full-resolution chroma.
//
// The frame is copied at once; the caller's buffer is not used after the copy. The source size is
// the still format's, not read from the image; parts of the band outside the decoded frame (above
// and below a frame wider than the target's shape) are black.
//
// Returns kOk only when the whole file is on the disk. Otherwise no file is left at `path`:
// StatusFromErrno of the failing system call for write failures (EEXIST when the path is taken:
// an earlier file is never replaced), kBadImage for a frame that is not a whole decodable image,
// kInvalidArg for sizes that give no picture.
//
// Stateless; runs on whichever thread calls it (the still output's streaming thread), which
// decodes, while one helper thread of its own draws and encodes; the helper has ended when
// WriteJpeg returns.
Status WriteJpeg(const std::uint8_t* frame, std::int32_t length, std::int32_t sourceWidth,
                 std::int32_t sourceHeight, const QString& path, std::int32_t targetWidth,
                 std::int32_t targetHeight);

}  // namespace zv
